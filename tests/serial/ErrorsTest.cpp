#include <gtest/gtest.h>

#include <new>

#include "serial/SlExcept.h"
#include "serial/SlStrMap.h"

namespace canprog::serial {
namespace {

TEST(RaiseForCode, ZeroAndPositiveValuesReturn) {
    EXPECT_EQ(RaiseForCode(0), 0);
    EXPECT_EQ(RaiseForCode(42), 42);
    EXPECT_EQ(RaiseForCode(-3007, true), -3007);  // the owner is still being loaded
}

TEST(RaiseForCode, LeafClassesCarryCodeAndMessage) {
    try {
        RaiseForCode(-3007);
        FAIL() << "no exception";
    } catch (const EBufferIsEmpty& e) {
        EXPECT_EQ(e.ErrorCode(), -3007);
        EXPECT_STREQ(e.what(), "Buffer is empty");
    }
    EXPECT_THROW(RaiseForCode(-2001), EBadId);
    EXPECT_THROW(RaiseForCode(-2008), EAlreadyOpen);
    EXPECT_THROW(RaiseForCode(-2011), ENoPortSelected);
    EXPECT_THROW(RaiseForCode(-3006), EOutputBufferTooSmall);
    EXPECT_THROW(RaiseForCode(-1006), EInternal);
    EXPECT_THROW(RaiseForCode(-7003), EInternal);
    EXPECT_THROW(RaiseForCode(-13868), ETapiNoMem);
    EXPECT_THROW(RaiseForCode(-6008), EProtocol);
    EXPECT_THROW(RaiseForCode(-8012), EFax);
    try {
        RaiseForCode(-2011);
    } catch (const EOpenComm& e) {  // caught by its group
        EXPECT_STREQ(e.what(), "The ComNumber property of the TSlioComPort has not been set");
    }
}

TEST(RaiseForCode, FileErrorsRaiseTheInputOutputException) {
    try {
        RaiseForCode(-2);
        FAIL() << "no exception";
    } catch (const EInOutError& e) {
        EXPECT_EQ(e.ErrorCode(), 2);
        EXPECT_STREQ(e.what(), "File not found");
    }
    try {
        RaiseForCode(-161);
    } catch (const std::system_error& e) {
        EXPECT_EQ(e.code().value(), 161);
        EXPECT_STREQ(e.what(), "Device read error");
    }
    EXPECT_THROW(RaiseForCode(-8), std::bad_alloc);
}

TEST(RaiseForCode, CodesWithoutAClassRaiseThePlainException) {
    try {
        RaiseForCode(-1001);
        FAIL() << "no exception";
    } catch (const ESlioException& e) {
        EXPECT_EQ(e.ErrorCode(), 0);
        EXPECT_STREQ(e.what(), "Slio exception");
    }
}

TEST(MessageForCode, TableThenSystemTextOnOneLine) {
    EXPECT_EQ(messageForCode(-3001), "No device layer specified");
    EXPECT_EQ(messageForCode(0), "OK");
    EXPECT_EQ(messageForCode(15002), "Dispatch");
    // A number missing from the table reads as the system's own text for it, on one line.
    const std::string system = messageForCode(-(kSystemErrorBase + 87));
    EXPECT_FALSE(system.empty());
    EXPECT_EQ(system, messageForCode(87));
    EXPECT_EQ(system.find_first_of("\r\n"), std::string::npos);
    EXPECT_NE(system.back(), ' ');
    EXPECT_EQ(messageForCode(999999), "");
}

TEST(MessageForCode, TableIsSortedAndEveryRowIsFound) {
    const auto table = errorMessageTable();
    for (std::size_t i = 1; i < table.size(); ++i) EXPECT_LT(table[i - 1].code, table[i].code);
    for (const auto& row : table) EXPECT_EQ(messageForCode(-row.code), row.message) << row.code;
}

}  // namespace
}  // namespace canprog::serial
