// The one way the program shows a question, warning or error to the operator: a modal box
// with the kind's caption and icon, OK or Yes/No, returning the button pressed.
#pragma once

#include <QMessageBox>
#include <QString>
#include <functional>
#include <memory>

namespace quorvex {

class StoredTexts;

enum class MessageKind : unsigned {
    Warning = 0,
    Error = 1,
    Information = 2,
    Confirmation = 3,
    Plain = 4,
};

// YesNoCancel: Cancel (and Escape, and the close box) answers Cancel; YesNo: they answer No.
enum class MessageButtons { Ok, YesNo, YesNoCancel };

// Caption text number and icon of a kind.
int MessageCaptionTextNumber(MessageKind kind);
QMessageBox::Icon MessageIcon(MessageKind kind);

// F8 pressed anywhere in this window (on the window or any of its buttons) calls stop: the
// machine stops from a message box as from every dialog.
void InstallMachineStopKey(QWidget* window, std::function<void()> stop);

// The box as the operator sees it, not yet shown: caption in the current language, icon,
// text (line feeds break lines) and buttons; F8 in it calls stopMachine when there is one.
// Every box of the program is built here.
std::unique_ptr<QMessageBox> BuildOperatorMessageBox(const QString& text, MessageKind kind,
                                                     MessageButtons buttons,
                                                     const StoredTexts& texts,
                                                     QWidget* owner = nullptr,
                                                     std::function<void()> stopMachine = {});

// Shows operator messages. The program uses the modal boxes below; tests put a recorder in
// their place so that nothing blocks.
class OperatorMessages {
public:
    virtual ~OperatorMessages() = default;
    // Returns QMessageBox::Ok, Yes or No; callers test only for Yes.
    virtual QMessageBox::StandardButton ShowOperatorMessage(const QString& text,
                                                            MessageKind kind,
                                                            MessageButtons buttons) = 0;
    // While the program ends on a signal nobody is there to answer: every box answers at
    // once as Escape would (No, or OK) without being shown.
    void SetUnattended(bool unattended) { unattended_ = unattended; }
    bool Unattended() const { return unattended_; }

  private:
    bool unattended_ = false;
};

class MessageBoxMessages : public OperatorMessages {
public:
    explicit MessageBoxMessages(const StoredTexts& texts) : texts_(texts) {}
    // Boxes are owned by this window (none: by the application).
    void SetOwner(QWidget* owner) { owner_ = owner; }
    // What F8 does in a box: the shell's machine stop.
    void SetMachineStop(std::function<void()> stop) { stop_ = std::move(stop); }
    QMessageBox::StandardButton ShowOperatorMessage(const QString& text, MessageKind kind,
                                                    MessageButtons buttons) override;

private:
    const StoredTexts& texts_;
    QWidget* owner_ = nullptr;
    std::function<void()> stop_;
};

}  // namespace quorvex
