#pragma once

#include <array>
#include <ostream>
#include <streambuf>

namespace canprog::cli {

// A standard stream written straight to its descriptor, keeping the error number of the first
// write that failed, so that the command's end can say what went wrong ("the output was
// closed", "the disk is full") rather than whatever the last system call left behind. A
// stream that was closed when the program started takes nothing and counts as failed once
// something is written to it.
class RecordingStreamBuffer : public std::streambuf {
  public:
    RecordingStreamBuffer(int stream, bool closed) : stream_(stream), closed_(closed) {
        setp(buffer_.data(), buffer_.data() + buffer_.size());
    }
    ~RecordingStreamBuffer() override { sync(); }

    // The first failure's error number; 0 while every byte got through.
    int failure() const { return failure_; }

  protected:
    int overflow(int c) override;
    int sync() override;

  private:
    void writeOut();

    int stream_;
    bool closed_;
    int failure_ = 0;
    std::array<char, 4096> buffer_{};
};

// Puts a recording buffer under a stream for as long as it lives, and the stream's own back
// after it.
class RecordedStream {
  public:
    RecordedStream(std::ostream& stream, int number, bool closed)
        : stream_(stream), buffer_(number, closed), previous_(stream.rdbuf(&buffer_)) {}
    ~RecordedStream() {
        stream_.flush();
        stream_.rdbuf(previous_);
    }
    RecordedStream(const RecordedStream&) = delete;
    RecordedStream& operator=(const RecordedStream&) = delete;

    // Flushes the stream; the first failure's error number, 0 when everything got through.
    int failure() {
        stream_.flush();
        return buffer_.failure();
    }

  private:
    std::ostream& stream_;
    RecordingStreamBuffer buffer_;
    std::streambuf* previous_;
};

}  // namespace canprog::cli
