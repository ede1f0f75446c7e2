#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace canprog::serial {

// A fixed ring of bytes, first in first out: the dispatcher's receive and transmit rings. Not
// locked: its owner holds the ring's lock. A ring of size 0 (not yet allocated, or released)
// holds nothing and takes nothing.
class ByteRing {
  public:
    // Empties the ring and gives it `size` bytes of room (0 releases it).
    void allocate(std::size_t size);
    void clear() { read_ = used_ = 0; }

    std::size_t capacity() const { return bytes_.size(); }
    std::size_t used() const { return used_; }
    std::size_t room() const { return bytes_.size() - used_; }
    bool empty() const { return used_ == 0; }

    // Adds every byte of `data`, or none when they do not all fit: false then.
    bool put(std::span<const std::uint8_t> data);
    // Takes the oldest byte; false when the ring is empty.
    bool take(std::uint8_t& byte);
    // Takes everything, oldest first.
    std::vector<std::uint8_t> takeAll();

    // The free bytes that follow the newest one without wrapping: fill a prefix of it, then
    // commit that many. Two runs at most fill the whole room.
    std::span<std::uint8_t> freeRun();
    void commit(std::size_t count) { used_ += count; }

  private:
    std::vector<std::uint8_t> bytes_;
    std::size_t read_ = 0;  // the oldest byte
    std::size_t used_ = 0;
};

}  // namespace canprog::serial
