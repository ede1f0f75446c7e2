#include "LineReader.h"

namespace canprog {

std::string LineReader::readLine() {
    if (atEnd()) return {};
    ++lineNumber_;
    // A plain loop: find_first_of looks each byte up in the set with a call of its own.
    std::size_t end = position_;
    while (end < data_.size() && data_[end] != '\r' && data_[end] != '\n') ++end;
    if (end == data_.size()) {
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
