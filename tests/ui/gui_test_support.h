// Helpers of the widget tests: a message recorder in place of the modal boxes, and a way to
// act on a modal dialog once the code under test has opened it.
#pragma once

#include <QApplication>
#include <QTimer>
#include <deque>
#include <functional>
#include <vector>

#include "ui/file_dialogs.h"
#include "ui/operator_message.h"

namespace quorvex {

class RecordedMessages : public OperatorMessages {
public:
    struct Shown {
        QString text;
        MessageKind kind;
        MessageButtons buttons;
    };
    std::vector<Shown> shown;
    std::deque<QMessageBox::StandardButton> answers;  // given in order; then No or OK

    QMessageBox::StandardButton ShowOperatorMessage(const QString& text, MessageKind kind,
                                                    MessageButtons buttons) override {
        shown.push_back({text, kind, buttons});
        if (!answers.empty()) {
            const auto answer = answers.front();
            answers.pop_front();
            return answer;
        }
        return buttons == MessageButtons::Ok ? QMessageBox::Ok : QMessageBox::No;
    }
};

// Calls act with the next modal dialog of type T as soon as it is the active modal window.
template <class T>
void WhenModal(std::function<void(T*)> act) {
    auto* poll = new QTimer;
    poll->setInterval(5);
    QObject::connect(poll, &QTimer::timeout, [poll, act] {
        if (auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget());
            dialog && dialog->isVisible()) {
            poll->stop();
            poll->deleteLater();
            act(dialog);
        }
    });
    poll->start();
}

// File dialogs that are always cancelled.
class NoFiles : public FileDialogs {
  public:
    QString SaveFileName(const QString&, const QString&, const QString&, const QString&,
                         const QString&) override {
        return {};
    }
    QString OpenFileName(const QString&, const QString&, const QString&, const QString&) override {
        return {};
    }
};

}  // namespace quorvex
