#include "OutputFiles.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>

#include "Utf8Path.h"

namespace canprog {

namespace fs = std::filesystem;

namespace {

// What is at `file` now: nothing, a regular file, or something else.
enum class Found { Nothing, RegularFile, Other };

Found whatIsAt(const std::string& file) {
    std::error_code error;
    const fs::file_status status = fs::status(utf8Path(file), error);
    if (!fs::exists(status)) return Found::Nothing;
    return fs::is_regular_file(status) ? Found::RegularFile : Found::Other;
}

constexpr const char* kNotRegular = "is not a regular file; nothing is written into it";

}  // namespace

std::optional<std::string> refusedNewFile(const std::string& file, bool replace) {
    switch (whatIsAt(file)) {
        case Found::Nothing: return std::nullopt;
        case Found::Other: return kNotRegular;
        case Found::RegularFile:
            if (replace) return std::nullopt;
            return "exists already; give another name, or --force to replace it";
    }
    return std::nullopt;
}

bool writeNewFile(const std::string& file, const std::string& text, bool replace,
                  std::string& why) {
    if (auto refused = refusedNewFile(file, replace)) {
        why = *std::move(refused);
        return false;
    }
    const fs::path target = utf8Path(file);
    std::random_device random;
    fs::path temporary = target;
    temporary += ".canprog-" + std::to_string(random() % 1000000) + ".tmp";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out << text;
        out.close();
        if (!out) {
            why = errno != 0 ? std::strerror(errno) : "the file could not be written";
            std::error_code ignored;
            fs::remove(temporary, ignored);
            return false;
        }
    }
    std::error_code error;
    // A file that appeared meanwhile is not replaced unasked.
    if (!replace && whatIsAt(file) != Found::Nothing) {
        fs::remove(temporary, error);
        why = "exists already; give another name, or --force to replace it";
        return false;
    }
    fs::rename(temporary, target, error);
    if (error) {
        why = error.message();
        std::error_code ignored;
        fs::remove(temporary, ignored);
        return false;
    }
    return true;
}

std::optional<std::string> refusedLog(const std::string& file) {
    if (whatIsAt(file) == Found::Other) return kNotRegular;
    return std::nullopt;
}

bool appendLine(const std::string& file, const std::string& line, std::string& why) {
    if (auto refused = refusedLog(file)) {
        why = *std::move(refused);
        return false;
    }
    std::ofstream out(utf8Path(file), std::ios::binary | std::ios::app);
    out << line << '\n';
    out.close();
    if (!out) {
        why = errno != 0 ? std::strerror(errno) : "the file could not be written";
        return false;
    }
    return true;
}

std::string numberedFile(const std::string& file, int number) {
    // The number goes before the extension of the name's last part: "a.b/old.json" gives
    // "a.b/old-3.json"; a name without an extension (or only a leading dot) gets it at the end.
    const auto nameStart = file.find_last_of("/\\");
    const std::size_t name = nameStart == std::string::npos ? 0 : nameStart + 1;
    auto dot = file.rfind('.');
    if (dot == std::string::npos || dot <= name) dot = file.size();
    return file.substr(0, dot) + "-" + std::to_string(number) + file.substr(dot);
}

}  // namespace canprog
