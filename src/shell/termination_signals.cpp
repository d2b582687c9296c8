// The self-pipe of the termination signals.
#include "shell/termination_signals.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <cerrno>

namespace quorvex {
namespace {

constexpr int kSignals[] = {SIGTERM, SIGHUP, SIGINT};

// The write end of the pipe, for the handler; one set of handlers per process.
volatile sig_atomic_t writeEnd = -1;
int readEnd = -1;

extern "C" void OnTerminationSignal(int number) {
    const int saved = errno;
    const unsigned char byte = static_cast<unsigned char>(number);
    if (writeEnd >= 0) {
        [[maybe_unused]] const ssize_t written = ::write(writeEnd, &byte, 1);
    }
    errno = saved;
}

}  // namespace

TerminationSignals::TerminationSignals(std::function<void(int)> onSignal, QObject* parent)
    : QObject(parent), onSignal_(std::move(onSignal)) {
    if (writeEnd >= 0) return;
    int ends[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, ends) != 0) return;
    readEnd = ends[0];
    writeEnd = ends[1];
    struct sigaction action {};
    action.sa_handler = OnTerminationSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int number : kSignals) ::sigaction(number, &action, nullptr);
    notifier_ = new QSocketNotifier(readEnd, QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &TerminationSignals::ReadSignal);
}

TerminationSignals::~TerminationSignals() {
    if (!notifier_) return;
    struct sigaction action {};
    action.sa_handler = SIG_DFL;
    sigemptyset(&action.sa_mask);
    for (int number : kSignals) ::sigaction(number, &action, nullptr);
    const int ends[2] = {readEnd, static_cast<int>(writeEnd)};
    writeEnd = -1;
    readEnd = -1;
    ::close(ends[0]);
    ::close(ends[1]);
}

void TerminationSignals::ReadSignal() {
    unsigned char byte = 0;
    while (::read(readEnd, &byte, 1) == 1) {
        if (onSignal_) onSignal_(byte);
    }
}

}  // namespace quorvex
