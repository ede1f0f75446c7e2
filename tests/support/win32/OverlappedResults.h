#pragma once

#include <windows.h>

#include <map>

namespace canprog::testing {

// What a fake driver answers GetOverlappedResult with: the result of each request it completed,
// kept until the program asks for it once. Not locked: the driver's own lock guards it.
class OverlappedResults {
  public:
    struct Result {
        BOOL ok;
        DWORD error;
        DWORD count;
    };

    // Records the request's result and signals its event, as a driver completing it does.
    void complete(OVERLAPPED* request, Result result) {
        results_[request] = result;
        ::SetEvent(request->hEvent);
    }
    bool has(OVERLAPPED* request) const { return results_.count(request) > 0; }
    // GetOverlappedResult's answer, the result taken: TRUE with the count, or FALSE with the
    // error in `error` (ERROR_IO_INCOMPLETE for a request not completed yet).
    BOOL take(OVERLAPPED* request, DWORD* count, DWORD& error) {
        const auto result = results_.find(request);
        if (result == results_.end()) {
            error = ERROR_IO_INCOMPLETE;
            return FALSE;
        }
        const Result r = result->second;
        results_.erase(result);
        *count = r.count;
        error = r.error;
        return r.ok;
    }

  private:
    std::map<OVERLAPPED*, Result> results_;
};

}  // namespace canprog::testing
