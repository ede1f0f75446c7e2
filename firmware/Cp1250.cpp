#include "Cp1250.h"

#include <iconv.h>

#include <array>

namespace canprog {

namespace {

// An iconv conversion descriptor, closed when it goes out of scope.
class Converter {
  public:
    Converter(const char* to, const char* from) : handle_(iconv_open(to, from)) {}
    ~Converter() {
        if (valid()) iconv_close(handle_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool valid() const { return handle_ != reinterpret_cast<iconv_t>(-1); }

    // Converts one input character; false when the code page does not define it.
    bool convert(char byte, std::string& out) {
        char* inPtr = &byte;
        std::size_t inLeft = 1;
        std::array<char, 8> buffer{};
        char* outPtr = buffer.data();
        std::size_t outLeft = buffer.size();
        if (iconv(handle_, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1)) {
            iconv(handle_, nullptr, nullptr, nullptr, nullptr);
            return false;
        }
        out.append(buffer.data(), static_cast<std::size_t>(outPtr - buffer.data()));
        return true;
    }

  private:
    iconv_t handle_;
};

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";

}  // namespace

std::string cp1250ToUtf8(std::string_view bytes) {
    Converter converter("UTF-8", "WINDOWS-1250");
    std::string out;
    out.reserve(bytes.size() * 2);
    // One byte at a time: every byte is one character, and an undefined one must not stop
    // the rest from converting.
    for (const char byte : bytes) {
        if (static_cast<unsigned char>(byte) < 0x80) {
            out += byte;
        } else if (!converter.valid() || !converter.convert(byte, out)) {
            out += kReplacement;
        }
    }
    return out;
}

}  // namespace canprog
