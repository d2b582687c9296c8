// One store at a time per working directory and per results project: two stores at once would
// take each other's series files or record numbers. The lock is an advisory lock on a small
// file of the directory; the system drops it when its holder ends, however it ends.
#pragma once

#include <chrono>
#include <filesystem>
#include <string>

#include "files.h"

namespace quorvex {

// The lock file that every store of a directory takes.
constexpr const char* kStoreLockFile = ".Quorvex-store.lock";

// How long a store waits for the one before it.
constexpr std::chrono::milliseconds kStoreLockWait{5000};

class StoreLock {
  public:
    // Waits up to `wait` for the lock of `directory`; Held() tells whether it came, Message()
    // why not, naming the directory.
    StoreLock(const std::filesystem::path& directory, std::chrono::milliseconds wait);
    StoreLock(const StoreLock&) = delete;
    StoreLock& operator=(const StoreLock&) = delete;

    bool Held() const { return file_.IsOpen(); }
    const std::string& Message() const { return message_; }

  private:
    FileHandle file_;
    std::string message_;
};

}  // namespace quorvex
