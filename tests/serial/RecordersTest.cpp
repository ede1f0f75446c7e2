#include <gtest/gtest.h>

#include <sstream>

#include "serial/SlTrace.h"

namespace canprog::serial {
namespace {

TEST(TraceRecorder, KeepsTheLastEntriesOldestFirst) {
    TraceRecorder trace;
    ASSERT_EQ(trace.start(10000), 0);
    trace.add('T', '#');  // the one that falls out
    for (int i = 0; i < 10000; ++i) trace.add('T', static_cast<std::uint8_t>('a' + i % 26));
    EXPECT_EQ(trace.count(), 10000u);
    const std::string text = trace.render({});
    EXPECT_EQ(text.find('#'), std::string::npos);
    EXPECT_EQ(text.substr(0, 14), "Transmit: \nabc");
    EXPECT_EQ(trace.start(4000001), -1002);
}

TEST(TraceRecorder, ByteRenderingsAndGroups) {
    TraceRecorder trace;
    trace.start(100);
    trace.add('T', 0x0F);
    trace.add('T', 0x41);
    EXPECT_EQ(trace.render({true, false}), "Transmit: \n[0F]A\n");
    EXPECT_EQ(trace.render({false, false}), "Transmit: \n[15]A\n");
    EXPECT_EQ(trace.render({true, true}), "Transmit: \n[0F][41]\n");
    trace.add('R', 0x20);
    trace.add('R', 0xC8);
    trace.add('S', 'x');
    EXPECT_EQ(trace.render({false, false}),
              "Transmit: \n[15]A\n\nReceive: \n [200]\n\nSpecial-S: \nx\n");
    EXPECT_EQ(trace.render({true, false}).find("Receive: \n[20][C8]"), 18u);
}

TEST(TraceRecorder, LinesWrapAtSeventyEightColumns) {
    TraceRecorder trace;
    trace.start(1000);
    for (int i = 0; i < 100; ++i) trace.add('R', 'x');
    trace.add('R', 0x01);
    const std::string text = trace.render({});
    EXPECT_EQ(text, "Receive: \n" + std::string(78, 'x') + "\n" + std::string(22, 'x') + "[01]\n");
    for (int i = 0; i < 19; ++i) trace.add('R', 0x02);  // 4 columns each: 20 would pass 78
    EXPECT_NE(trace.render({}).find("\n[02]"), std::string::npos);
}

TEST(LogRecorder, HeaderColumnsContinuationAndNames) {
    LogRecorder log;
    log.start(10000);
    log.add({1, 1, 1234, {'O', 'K'}, 0});
    log.add({1, 2, 65, std::vector<std::uint8_t>(40, 'x'), 0});
    log.add({1, 8, 70, {'f', 'u', 'l', 'l'}, 0});
    log.add({2, 4, 71, {0x01}, 0x31});
    log.add({5, 15, 72, {2}, 0});
    const std::string text =
        log.render({"/dev/ttyUSB0", "09/12/26, 08:00:00", "Linux 6.1"}, {true, false});
    std::istringstream lines(text);
    std::string line;
    std::vector<std::string> all;
    while (std::getline(lines, line)) all.push_back(line);
    ASSERT_GE(all.size(), 13u);
    EXPECT_EQ(all[0], "SLIO v4.07");
    EXPECT_EQ(all[1].rfind("Compiler : ", 0), 0u);
    EXPECT_EQ(all[2], "Operating System : Linux 6.1");
    EXPECT_EQ(all[3], "Device: /dev/ttyUSB0");
    EXPECT_EQ(all[4], "Date/time: 09/12/26, 08:00:00");
    EXPECT_EQ(all[5], "Time      Type      SubType       Data      OtherData");
    EXPECT_EQ(all[6], "--------  --------  ------------  --------  ---------");
    EXPECT_EQ(all[7], "0001.234  Dispatch  ReadCom       00000000  OK");
    EXPECT_EQ(all[8], "0000.065  Dispatch  WriteCom      00000000  " + std::string(34, 'x'));
    EXPECT_EQ(all[9], std::string(44, ' ') + std::string(6, 'x'));
    EXPECT_EQ(all[10], "0000.070  Dispatch  Status        00000000  full");
    EXPECT_EQ(all[11], "0000.071  Trigger   Modem status  00000031  [01](DCTS CTS DSR)");
    EXPECT_EQ(all[12], "0000.072  TrigAllc  Status        00000000  (Line status)");
}

TEST(LogRecorder, OldestEntriesGoWhenTheLimitIsPassed) {
    LogRecorder log;
    log.start(10);
    log.add({1, 1, 1, {1, 2, 3, 4}, 0});
    log.add({1, 1, 2, {5, 6, 7, 8}, 0});
    log.add({1, 1, 3, {9, 10, 11, 12}, 0});
    ASSERT_EQ(log.entries().size(), 2u);
    EXPECT_EQ(log.entries().front().timeMs, 2u);
    EXPECT_EQ(log.queuedBytes(), 8u);
}

}  // namespace
}  // namespace canprog::serial
