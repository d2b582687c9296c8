// Operator messages as modal boxes.
#include "ui/operator_message.h"

#include "ui/stored_texts.h"

namespace quorvex {

int MessageCaptionTextNumber(MessageKind kind) {
    switch (kind) {
        case MessageKind::Warning: return text::kCaptionWarning;
        case MessageKind::Error: return text::kCaptionError;
        case MessageKind::Confirmation: return text::kCaptionConfirmation;
        case MessageKind::Information:
        case MessageKind::Plain: return text::kCaptionInformation;
    }
    return text::kCaptionInformation;
}

QMessageBox::Icon MessageIcon(MessageKind kind) {
    switch (kind) {
        // Errors show the exclamation mark, as warnings do, not the stop sign.
        case MessageKind::Warning:
        case MessageKind::Error: return QMessageBox::Warning;
        case MessageKind::Information: return QMessageBox::Information;
        case MessageKind::Confirmation: return QMessageBox::Question;
        case MessageKind::Plain: return QMessageBox::NoIcon;
    }
    return QMessageBox::NoIcon;
}

std::unique_ptr<QMessageBox> BuildOperatorMessageBox(const QString& text, MessageKind kind,
                                                     MessageButtons buttons,
                                                     const StoredTexts& texts, QWidget* owner) {
    auto box = std::make_unique<QMessageBox>(owner);
    box->setWindowTitle(texts.Text(MessageCaptionTextNumber(kind)));
    box->setIcon(MessageIcon(kind));
    box->setTextFormat(Qt::PlainText);
    box->setText(text);
    if (buttons == MessageButtons::YesNo) {
        box->setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box->setDefaultButton(QMessageBox::Yes);
    } else if (buttons == MessageButtons::YesNoCancel) {
        box->setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        box->setDefaultButton(QMessageBox::Yes);
        box->setEscapeButton(QMessageBox::Cancel);
    } else {
        box->setStandardButtons(QMessageBox::Ok);
    }
    box->setWindowModality(owner ? Qt::WindowModal : Qt::ApplicationModal);
    return box;
}

QMessageBox::StandardButton MessageBoxMessages::ShowOperatorMessage(const QString& text,
                                                                    MessageKind kind,
                                                                    MessageButtons buttons) {
    if (Unattended()) return buttons == MessageButtons::Ok ? QMessageBox::Ok : QMessageBox::No;
    auto box = BuildOperatorMessageBox(text, kind, buttons, texts_, owner_);
    box->setWindowModality(Qt::ApplicationModal);
    const int pressed = box->exec();
    // Closing a Yes/No box with Escape or the close box answers No.
    if (pressed == QMessageBox::Yes || pressed == QMessageBox::No || pressed == QMessageBox::Ok) {
        return static_cast<QMessageBox::StandardButton>(pressed);
    }
    if (buttons == MessageButtons::YesNoCancel) return QMessageBox::Cancel;
    return buttons == MessageButtons::YesNo ? QMessageBox::No : QMessageBox::Ok;
}

}  // namespace quorvex
