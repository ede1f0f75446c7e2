#include "SlQueue.h"

#include <algorithm>

namespace canprog::serial {

void TIOQueue::push(std::unique_ptr<TIOBuffer> item) {
    {
        const std::lock_guard guard(lock_);
        totalBytes_ += item->byteCount();
        items_.push_back(std::move(item));
        news_ = true;
    }
    pushed_.notify_all();
}

TIOBuffer* TIOQueue::peek() {
    const std::lock_guard guard(lock_);
    if (items_.empty() || items_.front()->inUse) return nullptr;
    items_.front()->inUse = true;
    return items_.front().get();
}

std::unique_ptr<TIOBuffer> TIOQueue::pop() {
    const std::lock_guard guard(lock_);
    if (items_.empty()) return nullptr;
    auto item = std::move(items_.front());
    items_.pop_front();
    totalBytes_ -= std::min(totalBytes_, item->byteCount());
    return item;
}

void TIOQueue::clear() {
    const std::lock_guard guard(lock_);
    std::erase_if(items_, [this](const std::unique_ptr<TIOBuffer>& item) {
        if (item->inUse) return false;
        totalBytes_ -= std::min(totalBytes_, item->byteCount());
        return true;
    });
}

void TIOQueue::waitForNews(std::chrono::milliseconds timeout) {
    std::unique_lock guard(lock_);
    pushed_.wait_for(guard, timeout, [this] { return news_; });
    news_ = false;
}

void TIOQueue::wake() {
    {
        const std::lock_guard guard(lock_);
        news_ = true;
    }
    pushed_.notify_all();
}

std::size_t TIOQueue::totalBytes() const {
    const std::lock_guard guard(lock_);
    return totalBytes_;
}

std::size_t TIOQueue::size() const {
    const std::lock_guard guard(lock_);
    return items_.size();
}

}  // namespace canprog::serial
