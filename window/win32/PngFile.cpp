#include "PngFile.h"

#include <zlib.h>

#include <array>
#include <fstream>

#include "base/Utf8Path.h"

namespace canprog::win32window {

namespace {

void putBigEndian(std::vector<std::uint8_t>& out, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<std::uint8_t>(value >> shift));
}

void putChunk(std::vector<std::uint8_t>& out, const char (&type)[5],
              const std::vector<std::uint8_t>& data) {
    putBigEndian(out, static_cast<std::uint32_t>(data.size()));
    const std::size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    const auto crc = ::crc32(0, out.data() + start, static_cast<uInt>(out.size() - start));
    putBigEndian(out, static_cast<std::uint32_t>(crc));
}

}  // namespace

bool writePng(const std::string& path, int width, int height,
              const std::vector<std::uint8_t>& rgbRows) {
    const std::size_t rowBytes = static_cast<std::size_t>(width) * 3;
    if (width <= 0 || height <= 0 || rgbRows.size() != rowBytes * static_cast<std::size_t>(height))
        return false;
    // Each row starts with its filter type: none.
    std::vector<std::uint8_t> raw;
    raw.reserve((rowBytes + 1) * static_cast<std::size_t>(height));
    for (int row = 0; row < height; ++row) {
        raw.push_back(0);
        const auto* begin = rgbRows.data() + rowBytes * static_cast<std::size_t>(row);
        raw.insert(raw.end(), begin, begin + rowBytes);
    }
    uLongf packedSize = ::compressBound(static_cast<uLong>(raw.size()));
    std::vector<std::uint8_t> packed(packedSize);
    if (::compress2(packed.data(), &packedSize, raw.data(), static_cast<uLong>(raw.size()),
                    Z_BEST_COMPRESSION) != Z_OK)
        return false;
    packed.resize(packedSize);

    std::vector<std::uint8_t> file = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<std::uint8_t> header;
    putBigEndian(header, static_cast<std::uint32_t>(width));
    putBigEndian(header, static_cast<std::uint32_t>(height));
    header.insert(header.end(), {8, 2, 0, 0, 0});  // 8 bits, RGB, deflate, no filter, no interlace
    putChunk(file, "IHDR", header);
    putChunk(file, "IDAT", packed);
    putChunk(file, "IEND", {});
    std::ofstream out(utf8Path(path), std::ios::binary);
    out.write(reinterpret_cast<const char*>(file.data()),
              static_cast<std::streamsize>(file.size()));
    return out.good();
}

}  // namespace canprog::win32window
