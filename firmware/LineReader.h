#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace canprog {

// Reads a text file's bytes line by line. A line ends at LF, at CR LF or at a lone CR, so a
// file written on Windows reads exactly like its Unix twin. Bytes are kept as they are:
// encoded lines hold characters above 0x7F.
class LineReader {
  public:
    explicit LineReader(std::string_view data) : data_(data) {}

    bool atEnd() const { return position_ >= data_.size(); }

    // The next line without its line end; empty at the end of the data.
    std::string readLine();

    // 1-based number of the line last read; 0 before the first.
    int lineNumber() const { return lineNumber_; }

  private:
    std::string_view data_;
    std::size_t position_ = 0;
    int lineNumber_ = 0;
};

}  // namespace canprog
