#include "ReplyDelayWatch.h"

#include <algorithm>

namespace canprog {

std::optional<std::chrono::microseconds> ReplyDelayWatch::add(std::chrono::nanoseconds waited,
                                                              int wireBytes) {
    if (judged_) return std::nullopt;
    const auto beyond =
        std::chrono::duration_cast<std::chrono::microseconds>(waited) - kByteTime * wireBytes;
    beyondWire_.push_back(std::max(beyond, std::chrono::microseconds(0)));
    if (beyondWire_.size() < kFramesBeforeJudging) return std::nullopt;
    judged_ = true;
    auto middle = beyondWire_.begin() + static_cast<std::ptrdiff_t>(beyondWire_.size() / 2);
    std::nth_element(beyondWire_.begin(), middle, beyondWire_.end());
    if (*middle <= kSlow) return std::nullopt;
    return *middle;
}

}  // namespace canprog
