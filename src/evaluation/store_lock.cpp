// The lock of one store: flock on the directory's lock file, retried until the wait is over.
#include "store_lock.h"

#include <sys/file.h>

#include <cerrno>
#include <thread>

namespace quorvex {

StoreLock::StoreLock(const std::filesystem::path& directory, std::chrono::milliseconds wait) {
    const std::filesystem::path path = directory / kStoreLockFile;
    OpenedFile opened = OpenRegularFile(path, OpenFor::Updating);
    if (!opened.Status.Loaded()) {
        message_ = opened.Status.message.empty()
                       ? "The lock file \"" + path.string() + "\" cannot be made."
                       : opened.Status.message;
        return;
    }
    const auto deadline = std::chrono::steady_clock::now() + wait;
    while (::flock(opened.Handle.Fd(), LOCK_EX | LOCK_NB) != 0) {
        if (errno != EWOULDBLOCK && errno != EINTR) {
            message_ = "The lock file \"" + path.string() + "\" cannot be locked.";
            return;
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            message_ = "Another store is writing into \"" + directory.string() + "\" (waited " +
                       std::to_string(wait.count() / 1000.0).substr(0, 3) +
                       " s): nothing was stored. Try again when it has finished.";
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    file_ = std::move(opened.Handle);
}

}  // namespace quorvex
