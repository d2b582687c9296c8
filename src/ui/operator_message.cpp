// Operator messages as modal boxes.
#include "ui/operator_message.h"

#include <QApplication>
#include <QKeyEvent>

#include "ui/stored_texts.h"

namespace quorvex {
namespace {

// Watches the key presses of one window and its children; a box's buttons take the keys
// first, so the filter sits on the application and asks whose window the key is for.
class MachineStopKey : public QObject {
public:
    MachineStopKey(QWidget* window, std::function<void()> stop)
        : QObject(window), window_(window), stop_(std::move(stop)) {
        qApp->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress || !watched->isWidgetType()) return false;
        if (static_cast<QWidget*>(watched)->window() != window_) return false;
        if (static_cast<QKeyEvent*>(event)->key() != Qt::Key_F8) return false;
        if (stop_) stop_();
        return true;
    }

private:
    QWidget* window_;
    std::function<void()> stop_;
};

}  // namespace

void InstallMachineStopKey(QWidget* window, std::function<void()> stop) {
    new MachineStopKey(window, std::move(stop));
}

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
                                                     const StoredTexts& texts, QWidget* owner,
                                                     std::function<void()> stopMachine) {
    auto box = std::make_unique<QMessageBox>(owner);
    if (stopMachine) InstallMachineStopKey(box.get(), std::move(stopMachine));
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
    auto box = BuildOperatorMessageBox(text, kind, buttons, texts_, owner_, stop_);
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
