#include "OutputFiles.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>

#include "DeviceNames.h"
#include "Utf8Path.h"

namespace canprog {

namespace fs = std::filesystem;

namespace {

// What is at `file` now: nothing, a regular file, a symbolic link, or something else.
enum class Found { Nothing, RegularFile, Link, Other };

Found whatIsAt(const fs::path& file) {
    std::error_code error;
    const fs::file_status status = fs::symlink_status(file, error);
    if (fs::is_symlink(status)) return Found::Link;
    if (!fs::exists(status)) return Found::Nothing;
    return fs::is_regular_file(status) ? Found::RegularFile : Found::Other;
}

constexpr const char* kNotRegular = "is not a regular file; nothing is written into it";
constexpr const char* kExists = "exists already; give another name, or --force to replace it";

std::string linkRefusal(const fs::path& link) {
    std::error_code error;
    const fs::path target = fs::read_symlink(link, error);
    const auto u8 = target.u8string();
    const std::string shown(u8.begin(), u8.end());
    return "is a symbolic link to " + shown +
           "; it is not replaced by a file, nor written through: name the file itself, or "
           "another one";
}

// Why the name itself cannot be a file: it ends in a folder separator or names a device.
std::optional<std::string> refusedName(const std::string& file) {
    if (!file.empty() && (file.back() == '/' || file.back() == '\\')) {
        return "ends in a folder separator: name a file";
    }
    if (isDeviceFileName(file)) return "is the name of a device, not of a file";
    return std::nullopt;
}

// Whether a file of this name can be created, found out by creating and removing it: the
// folder must exist and take it, and the name must not be too long for it.
std::optional<std::string> uncreatable(const fs::path& file) {
    errno = 0;
    std::ofstream probe(file, std::ios::binary | std::ios::out);
    const int error = errno;
    if (!probe) return "cannot be created: " + writeErrorText(error);
    probe.close();
    std::error_code ignored;
    fs::remove(file, ignored);
    return std::nullopt;
}

// The temporary file beside `target` that a new file is written to first: a short name of its
// own, so that a target whose name is as long as the system allows can still be written.
fs::path temporaryBeside(const fs::path& target) {
    std::random_device random;
    return target.parent_path() / (".canprog-" + std::to_string(random() % 1000000) + ".tmp");
}

}  // namespace

std::string writeErrorText(int error) {
    switch (error) {
        case EPIPE: return "the output was closed (the program reading it has ended)";
        case ENOSPC: return "the disk is full";
        case 0: return "the file could not be written";
        default: return std::strerror(error);
    }
}

std::optional<std::string> refusedNewFile(const std::string& file, bool replace) {
    if (auto refused = refusedName(file)) return refused;
    const fs::path target = utf8Path(file);
    switch (whatIsAt(target)) {
        case Found::Nothing: return uncreatable(target);
        case Found::Link: return linkRefusal(target);
        case Found::Other: return kNotRegular;
        case Found::RegularFile:
            if (!replace) return kExists;
            return uncreatable(temporaryBeside(target));
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
    const fs::path temporary = temporaryBeside(target);
    {
        errno = 0;
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out << text;
        out.close();
        if (!out) {
            why = writeErrorText(errno);
            std::error_code ignored;
            fs::remove(temporary, ignored);
            return false;
        }
    }
    std::error_code error;
    // A file that appeared meanwhile is not replaced unasked, nor a link that appeared.
    const Found now = whatIsAt(target);
    if (now == Found::Link || now == Found::Other || (!replace && now != Found::Nothing)) {
        fs::remove(temporary, error);
        why = now == Found::Link    ? linkRefusal(target)
              : now == Found::Other ? kNotRegular
                                    : kExists;
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
    if (auto refused = refusedName(file)) return refused;
    const fs::path log = utf8Path(file);
    std::error_code error;
    const fs::file_status status = fs::status(log, error);  // a link appends to its file
    if (!fs::exists(status)) return uncreatable(log);
    if (!fs::is_regular_file(status)) return kNotRegular;
    errno = 0;
    std::ofstream probe(log, std::ios::binary | std::ios::app);
    if (!probe) return "cannot be written: " + writeErrorText(errno);
    return std::nullopt;
}

bool appendLine(const std::string& file, const std::string& line, std::string& why) {
    if (auto refused = refusedLog(file)) {
        why = *std::move(refused);
        return false;
    }
    errno = 0;
    std::ofstream out(utf8Path(file), std::ios::binary | std::ios::app);
    out << line << '\n';
    out.close();
    if (!out) {
        why = writeErrorText(errno);
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
