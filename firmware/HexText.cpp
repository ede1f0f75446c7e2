#include "HexText.h"

namespace canprog {

namespace {
int digitValue(char c) {
    const auto at = HEX_DIGITS.find(c);
    return at == std::string_view::npos ? -1 : static_cast<int>(at);
}
}  // namespace

std::uint8_t hexPairToByte(std::string_view text) {
    if (text.size() < 2) return 0;
    const int high = digitValue(text[0]);
    const int low = digitValue(text[1]);
    if (high < 0 || low < 0) return 0;
    return static_cast<std::uint8_t>(high * 16 + low);
}

std::uint8_t pairAt(std::string_view line, std::size_t position) {
    if (position < 1 || position > line.size()) return 0;
    return hexPairToByte(line.substr(position - 1, 2));
}

std::string decodeLine(std::string_view source, std::string_view key, bool add) {
    std::string out(source);
    const std::size_t keyLength = key.size();
    if (keyLength == 0) return out;
    for (std::size_t i = 1; i <= source.size(); ++i) {
        const std::size_t keyPosition = i % keyLength;
        const int k = keyPosition == 0 ? 0 : static_cast<unsigned char>(key[keyPosition - 1]);
        const int c = static_cast<unsigned char>(source[i - 1]);
        out[i - 1] = static_cast<char>(static_cast<unsigned char>(add ? c + k : c - k));
    }
    return out;
}

std::string lineKey(int pairNumber) {
    return std::string(kLineKeyText) + std::to_string(pairNumber);
}

}  // namespace canprog
