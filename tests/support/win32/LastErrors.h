#pragma once

#include <windows.h>

#include <map>
#include <mutex>

namespace canprog::testing {

// A fake driver's last error, one per calling thread as the system keeps it: by thread ID in a
// map, so that the fakes put nothing into the thread-local storage of the port's worker
// threads, which come and go with every open.
class LastErrors {
  public:
    void set(DWORD error) {
        const std::lock_guard guard(lock_);
        errors_[::GetCurrentThreadId()] = error;
    }
    DWORD get() {
        const std::lock_guard guard(lock_);
        const auto found = errors_.find(::GetCurrentThreadId());
        return found == errors_.end() ? 0 : found->second;
    }

  private:
    std::mutex lock_;
    std::map<DWORD, DWORD> errors_;
};

}  // namespace canprog::testing
