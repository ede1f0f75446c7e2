#include "StandardStreams.h"

#include <cerrno>

#include "Console.h"

namespace canprog::cli {

void RecordingStreamBuffer::writeOut() {
    const auto size = static_cast<std::size_t>(pptr() - pbase());
    if (size > 0 && failure_ == 0) {
        failure_ = closed_ ? EBADF : writeStandardStream(stream_, pbase(), size);
    }
    // What could not be written is dropped: the stream goes on taking output, so that a
    // module is never cut off because its log lines have nowhere to go.
    setp(buffer_.data(), buffer_.data() + buffer_.size());
}

int RecordingStreamBuffer::overflow(int c) {
    writeOut();
    if (c != traits_type::eof()) {
        *pptr() = traits_type::to_char_type(c);
        pbump(1);
    }
    return traits_type::not_eof(c);
}

int RecordingStreamBuffer::sync() {
    writeOut();
    return 0;
}

}  // namespace canprog::cli
