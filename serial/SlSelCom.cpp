#include "SlSelCom.h"

#include <exception>

namespace canprog::serial {

std::string portItem(int number) {
    return "COM" + std::to_string(number);
}

std::optional<int> portNumberFromItem(const std::string& item) {
    if (item.size() < 4) return std::nullopt;
    try {
        std::size_t used = 0;
        const int number = std::stoi(item.substr(3), &used);
        if (used != item.size() - 3 || number <= 0) return std::nullopt;
        return number;
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

}  // namespace canprog::serial
