#include "MemoryFiles.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <vector>

namespace canprog::sim {

bool loadImage(const std::string& path, std::uint8_t* bytes, std::size_t size, std::string& error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = path + ": cannot be read";
        return false;
    }
    const std::vector<char> data((std::istreambuf_iterator<char>(in)),
                                 std::istreambuf_iterator<char>());
    if (data.size() != size) {
        error =
            path + ": holds " + std::to_string(data.size()) + " bytes, not " + std::to_string(size);
        return false;
    }
    std::copy(data.begin(), data.end(), reinterpret_cast<char*>(bytes));
    return true;
}

bool saveImage(const std::string& path, const std::uint8_t* bytes, std::size_t size) {
    const std::string temporary = path + ".tmp";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes), static_cast<std::streamsize>(size));
        if (!out) return false;
    }
    return std::rename(temporary.c_str(), path.c_str()) == 0;
}

}  // namespace canprog::sim
