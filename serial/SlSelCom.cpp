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

std::string portEntry(const PresentPort& port) {
    const std::string name = portItem(port.number);
    return port.description.empty() ? name : name + " \u2014 " + port.description;
}

std::optional<int> portNumberFromEntry(const std::string& entry) {
    std::size_t at = entry.rfind("COM", 0) == 0 || entry.rfind("com", 0) == 0 ? 3 : 0;
    const std::size_t digits = entry.find_first_not_of("0123456789", at);
    const std::size_t end = digits == std::string::npos ? entry.size() : digits;
    if (end == at || end - at > 5) return std::nullopt;
    // What follows the number is its description, after a blank.
    if (end < entry.size() && entry[end] != ' ') return std::nullopt;
    const int number = std::stoi(entry.substr(at, end - at));
    if (number <= 0) return std::nullopt;
    return number;
}

}  // namespace canprog::serial
