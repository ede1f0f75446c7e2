#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include "serial/SlExcept.h"
#include "serial/SlPort.h"
#include "serial/SlTrace.h"
#include "support/PtyPair.h"

namespace canprog::serial {
namespace {

namespace fs = std::filesystem;
using testing::eventually;
using testing::PtyPair;

std::string readText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class PortTraceTest : public ::testing::Test {
  protected:
    void SetUp() override {
        folder = fs::temp_directory_path() / ("canprog-trace-" + std::to_string(::getpid()));
        fs::create_directories(folder);
        port.SetDevicePath(pty.path());
        port.SetBaud(9600);
        port.SetTraceName((folder / "t.trc").string());
        port.SetLogName((folder / "t.log").string());
    }
    void TearDown() override { fs::remove_all(folder); }
    fs::path folder;
    PtyPair pty;
    TSlioComPort port;
};

TEST_F(PortTraceTest, ClosingDumpsBothFiles) {
    port.SetTracing(TTraceLogState::tlOn);
    port.SetLogging(TTraceLogState::tlOn);
    port.SetOpen(true);
    EXPECT_EQ(port.Tracing(), TTraceLogState::tlOn);
    port.WriteByte(0x0F);
    port.WriteByte(0x41);
    pty.send({0x4B});
    ASSERT_TRUE(eventually([&] { return port.ByteAvailable(); }));
    port.ReadByte();
    port.SetOpen(false);
    EXPECT_EQ(readText(folder / "t.trc"), "Transmit: \n[0F]A\n\nReceive: \nK\n");
    const std::string log = readText(folder / "t.log");
    EXPECT_NE(log.find("Device: " + pty.path()), std::string::npos);
    EXPECT_NE(log.find("Dispatch  WriteCom"), std::string::npos);
    EXPECT_NE(log.find("Dispatch  ReadCom       00000000  K"), std::string::npos);
    EXPECT_EQ(port.Tracing(), TTraceLogState::tlOff);
}

TEST_F(PortTraceTest, OffOrEmptyWritesNoFile) {
    port.SetOpen(true);
    port.WriteByte(1);
    port.SetOpen(false);
    EXPECT_FALSE(fs::exists(folder / "t.trc"));
    port.SetTracing(TTraceLogState::tlOn);
    port.SetOpen(true);
    port.SetOpen(false);
    EXPECT_FALSE(fs::exists(folder / "t.trc"));
    EXPECT_FALSE(fs::exists(folder / "t.log"));
}

TEST_F(PortTraceTest, PauseClearAndAppend) {
    port.SetOpen(true);
    port.SetTracing(TTraceLogState::tlOn);
    port.WriteByte('a');
    port.SetTracing(TTraceLogState::tlPause);
    EXPECT_EQ(port.Tracing(), TTraceLogState::tlPause);
    port.WriteByte('b');
    port.SetTracing(TTraceLogState::tlAppendAndContinue);
    EXPECT_EQ(port.Tracing(), TTraceLogState::tlOn);
    port.WriteByte('c');
    port.SetTracing(TTraceLogState::tlClear);
    port.WriteByte('d');
    port.SetTracing(TTraceLogState::tlAppend);
    EXPECT_EQ(port.Tracing(), TTraceLogState::tlOff);
    EXPECT_EQ(readText(folder / "t.trc"), "Transmit: \na\nTransmit: \nd\n");
}

TEST_F(PortTraceTest, UnwritableTraceFileRaisesAndTurnsTheTraceOff) {
    port.SetTraceName((folder / "missing-folder" / "t.trc").string());
    port.SetOpen(true);
    port.SetTracing(TTraceLogState::tlOn);
    port.WriteByte(1);
    EXPECT_THROW(port.SetTracing(TTraceLogState::tlDump), EInOutError);
    EXPECT_EQ(port.Tracing(), TTraceLogState::tlOff);
    port.SetOpen(false);
    EXPECT_FALSE(port.Open());
}

}  // namespace
}  // namespace canprog::serial
