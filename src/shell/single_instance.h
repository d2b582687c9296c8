// Only one copy of the program drives the machine: the first copy holds a lock for its whole
// life, and a second copy finds it held and ends.
#pragma once

#include <QString>

namespace quorvex {

class OperatorMessages;

// The lock every copy of the program asks for ("Quorvex.lock" in the user's runtime directory).
QString DefaultInstanceLockPath();

class SingleInstanceGuard {
public:
    explicit SingleInstanceGuard(const QString& lockPath = DefaultInstanceLockPath());
    ~SingleInstanceGuard();
    SingleInstanceGuard(const SingleInstanceGuard&) = delete;
    SingleInstanceGuard& operator=(const SingleInstanceGuard&) = delete;

    // False only when another copy holds the lock. The system drops the lock when its holder
    // ends, however it ends, so a crashed copy never keeps the next one out. A lock file that
    // cannot be created at all does not keep the program from starting.
    bool Acquired() const { return !heldByOther_; }

private:
    int fd_ = -1;
    bool heldByOther_ = false;
};

// Tells the operator that a copy is running: always the German built-in text, because the
// language of the working files is not known yet (kind Error, button OK).
void ReportSecondInstance(OperatorMessages& messages);

}  // namespace quorvex
