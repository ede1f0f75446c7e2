#include <gtest/gtest.h>

#include <iconv.h>

#include <array>
#include <string>

#include "firmware/Cp1250.h"

namespace canprog {
namespace {

// glibc's own Windows-1250 conversion of one byte; empty when the code page leaves it
// undefined.
std::string iconvOf(unsigned char byte) {
    iconv_t converter = iconv_open("UTF-8", "WINDOWS-1250");
    EXPECT_NE(converter, reinterpret_cast<iconv_t>(-1));
    char in = static_cast<char>(byte);
    char* inPtr = &in;
    std::size_t inLeft = 1;
    std::array<char, 8> out{};
    char* outPtr = out.data();
    std::size_t outLeft = out.size();
    const bool defined =
        iconv(converter, &inPtr, &inLeft, &outPtr, &outLeft) != static_cast<std::size_t>(-1);
    iconv_close(converter);
    return defined ? std::string(out.data(), static_cast<std::size_t>(outPtr - out.data()))
                   : std::string();
}

TEST(Cp1250, OurTableIsGlibcsConversionByteForByte) {
    for (int byte = 0; byte < 256; ++byte) {
        const std::string glibc = iconvOf(static_cast<unsigned char>(byte));
        const std::string ours = cp1250ToUtf8(std::string(1, static_cast<char>(byte)));
        EXPECT_EQ(ours, glibc.empty() ? "\xEF\xBF\xBD" : glibc) << "byte " << byte;
    }
}

}  // namespace
}  // namespace canprog
