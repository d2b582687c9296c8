// A shutdown, `systemctl stop`, a logout or Ctrl+C in the starting shell (SIGTERM, SIGHUP,
// SIGINT) ends the program as "Beenden" does instead of killing it: the signal handler only
// writes the signal's number into a pipe, and the event loop calls back from there.
#pragma once

#include <QObject>
#include <functional>

class QSocketNotifier;

namespace quorvex {

class TerminationSignals : public QObject {
    Q_OBJECT
  public:
    // Installs the handlers; `onSignal` runs in the event loop with the signal's number.
    explicit TerminationSignals(std::function<void(int)> onSignal, QObject* parent = nullptr);
    // Restores the default handlers.
    ~TerminationSignals() override;

    bool Installed() const { return notifier_ != nullptr; }

  private:
    void ReadSignal();

    std::function<void(int)> onSignal_;
    QSocketNotifier* notifier_ = nullptr;
};

}  // namespace quorvex
