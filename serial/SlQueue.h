#pragma once

#include <array>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <vector>

namespace canprog::serial {

// One item of an I/O queue. The in-use flag keeps a purge from freeing an item that the
// dispatcher thread is copying from.
class TIOBuffer {
  public:
    virtual ~TIOBuffer() = default;
    // Data bytes the item counts toward its queue's total.
    virtual std::size_t byteCount() const { return 0; }
    std::atomic<bool> inUse{false};
};

// A block of received bytes.
class TDataBuffer : public TIOBuffer {
  public:
    static constexpr std::size_t kCapacity = 256;
    std::size_t byteCount() const override { return used; }
    std::size_t unread() const { return used - taken; }

    std::array<std::uint8_t, kCapacity> data{};
    std::size_t used = 0;   // bytes received into the block
    std::size_t taken = 0;  // bytes already moved on
};

// One line-status or modem-status event.
class TStatusBuffer : public TIOBuffer {
  public:
    explicit TStatusBuffer(std::uint32_t eventMask) : mask(eventMask) {}
    std::uint32_t mask;
};

// A locked queue of I/O items with a running total of queued data bytes.
class TIOQueue {
  public:
    void push(std::unique_ptr<TIOBuffer> item);
    // The first item, marked in use; nothing when empty or when the first is already in use.
    TIOBuffer* peek();
    // Removes the first item and hands it over.
    std::unique_ptr<TIOBuffer> pop();
    // Frees every item that is not in use.
    void clear();
    // Waits up to `timeout` for news: a push or a wake since the last wait returned. Unlike a
    // wait for "not empty", items that cannot be moved on yet never make the caller spin.
    void waitForNews(std::chrono::milliseconds timeout);
    // News without a new item: room was made for the queued ones, or the waiter must stop.
    void wake();
    std::size_t totalBytes() const;
    std::size_t size() const;
    // Releases an item that peek marked.
    static void release(TIOBuffer* item) { item->inUse = false; }

  private:
    mutable std::mutex lock_;
    std::condition_variable pushed_;
    std::deque<std::unique_ptr<TIOBuffer>> items_;
    std::size_t totalBytes_ = 0;
    bool news_ = false;
};

}  // namespace canprog::serial
