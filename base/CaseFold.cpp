#include "CaseFold.h"

namespace canprog {

namespace {

// The small letter of a capital one; any other code point as it is.
char32_t smallLetter(char32_t c) {
    if (c >= U'A' && c <= U'Z') return c + 0x20;
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return c + 0x20;  // À to Þ, not ×
    if (c >= 0x100 && c <= 0x137) return c | 1;                // Ā ā ... Ķ ķ: capitals even
    if (c >= 0x139 && c <= 0x148 && (c & 1)) return c + 1;     // Ĺ ĺ ... Ň ň: capitals odd
    if (c >= 0x14A && c <= 0x177) return c | 1;                // Ŋ ŋ ... Ŷ ŷ
    if (c == 0x178) return 0xFF;                               // Ÿ
    if (c >= 0x179 && c <= 0x17E && (c & 1)) return c + 1;     // Ź ź Ż ż Ž ž
    if (c >= 0x410 && c <= 0x42F) return c + 0x20;             // А to Я
    if (c >= 0x400 && c <= 0x40F) return c + 0x50;             // Ѐ to Џ
    return c;
}

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

}  // namespace

std::string foldCase(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    std::size_t i = 0;
    while (i < utf8.size()) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        const std::size_t length = lead < 0x80           ? 1
                                   : (lead >> 5) == 0x6  ? 2
                                   : (lead >> 4) == 0xE  ? 3
                                   : (lead >> 3) == 0x1E ? 4
                                                         : 0;
        bool whole = length > 0 && i + length <= utf8.size();
        char32_t c = length == 1 ? lead : lead & (0x7F >> length);
        for (std::size_t k = 1; whole && k < length; ++k) {
            const auto next = static_cast<unsigned char>(utf8[i + k]);
            whole = (next & 0xC0) == 0x80;
            c = (c << 6) | (next & 0x3F);
        }
        if (!whole) {
            out += utf8[i++];
            continue;
        }
        appendUtf8(out, smallLetter(c));
        i += length;
    }
    return out;
}

bool containsFolded(std::string_view haystack, std::string_view needle) {
    return foldCase(haystack).find(foldCase(needle)) != std::string::npos;
}

}  // namespace canprog
