#include "LineReader.h"

namespace canprog {

std::string LineReader::readLine() {
    if (atEnd()) return {};
    ++lineNumber_;
    const std::size_t end = data_.find_first_of("\r\n", position_);
    if (end == std::string_view::npos) {
        std::string line(data_.substr(position_));
        position_ = data_.size();
        return line;
    }
    std::string line(data_.substr(position_, end - position_));
    position_ = end + 1;
    if (data_[end] == '\r' && position_ < data_.size() && data_[position_] == '\n') ++position_;
    return line;
}

}  // namespace canprog
