#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "firmware/FirmwareLoader.h"

namespace canprog {
namespace {

TEST(FirmwareLoader, OnlyARegularFileOfReasonableSizeIsRead) {
    namespace fs = std::filesystem;
    const fs::path scratch =
        fs::temp_directory_path() / ("canprog-read-" + std::to_string(::getpid()));
    fs::create_directories(scratch);
    const fs::path fifo = scratch / "fifo.hexfw";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const fs::path huge = scratch / "huge.hex";
    std::ofstream(huge).close();
    fs::resize_file(huge, kFirmwareFileLimit.bytes + 1);  // sparse: nothing is really written
    struct Case {
        std::string path;
        std::string reason;
    };
    for (const Case& c :
         {Case{fifo.string(), "not a regular file"}, Case{"/dev/urandom", "not a regular file"},
          Case{scratch.string(), "Is a directory"},
          Case{huge.string(), "larger than 64 MiB: not a firmware file"},
          Case{(scratch / "none").string(), "No such file or directory"}}) {
        std::string bytes = "old";
        std::string error;
        EXPECT_FALSE(readFileBytes(c.path, bytes, error)) << c.path;
        EXPECT_EQ(error, c.reason) << c.path;
    }
    fs::resize_file(huge, kFirmwareFileLimit.bytes);
    std::string bytes;
    std::string error;
    EXPECT_TRUE(readFileBytes(huge.string(), bytes, error)) << error;
    EXPECT_EQ(bytes.size(), kFirmwareFileLimit.bytes);
    fs::remove_all(scratch);
}

}  // namespace
}  // namespace canprog
