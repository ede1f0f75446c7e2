#include "ByteRing.h"

#include <algorithm>

namespace canprog::serial {

void ByteRing::allocate(std::size_t size) {
    bytes_.assign(size, 0);
    clear();
}

bool ByteRing::put(std::span<const std::uint8_t> data) {
    if (data.size() > room()) return false;
    for (std::size_t copied = 0; copied < data.size();) {
        const std::span<std::uint8_t> run = freeRun();
        const std::size_t n = std::min(run.size(), data.size() - copied);
        std::copy_n(data.begin() + static_cast<std::ptrdiff_t>(copied), n, run.begin());
        commit(n);
        copied += n;
    }
    return true;
}

bool ByteRing::take(std::uint8_t& byte) {
    if (used_ == 0) return false;
    byte = bytes_[read_];
    read_ = (read_ + 1) % bytes_.size();
    --used_;
    return true;
}

std::vector<std::uint8_t> ByteRing::takeAll() {
    std::vector<std::uint8_t> out;
    out.reserve(used_);
    for (std::uint8_t byte = 0; take(byte);) out.push_back(byte);
    clear();
    return out;
}

std::span<std::uint8_t> ByteRing::freeRun() {
    if (room() == 0) return {};
    const std::size_t write = (read_ + used_) % bytes_.size();
    // Up to the end of the storage, or up to the oldest byte when that comes first.
    const std::size_t end = write >= read_ ? bytes_.size() : read_;
    return std::span(bytes_).subspan(write, std::min(end - write, room()));
}

}  // namespace canprog::serial
