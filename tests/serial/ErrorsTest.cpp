#include <gtest/gtest.h>

#include <new>

#include "serial/SlExcept.h"
#include "serial/SlStrMap.h"

namespace canprog::serial {
namespace {

TEST(RaiseForCode, ZeroAndPositiveValuesReturn) {
    EXPECT_EQ(RaiseForCode(0), 0);
    EXPECT_EQ(RaiseForCode(42), 42);
    // The owner is still being loaded: the code comes back instead of an exception.
    EXPECT_EQ(RaiseForCode(toCode(SlioError::BufferIsEmpty), true),
              toCode(SlioError::BufferIsEmpty));
}

TEST(RaiseForCode, LeafClassesCarryCodeAndMessage) {
    try {
        RaiseForCode(toCode(SlioError::BufferIsEmpty));
        FAIL() << "no exception";
    } catch (const EBufferIsEmpty& e) {
        EXPECT_EQ(e.ErrorCode(), toCode(SlioError::BufferIsEmpty));
        EXPECT_STREQ(e.what(), "Buffer is empty");
    }
    EXPECT_THROW(RaiseForCode(toCode(SlioError::BadId)), EBadId);
    EXPECT_THROW(RaiseForCode(toCode(SlioError::AlreadyOpen)), EAlreadyOpen);
    EXPECT_THROW(RaiseForCode(toCode(SlioError::NoPortSelected)), ENoPortSelected);
    EXPECT_THROW(RaiseForCode(toCode(SlioError::OutputBufferTooSmall)), EOutputBufferTooSmall);
    EXPECT_THROW(RaiseForCode(toCode(SlioError::Internal)), EInternal);
    EXPECT_THROW(RaiseForCode(toCode(SlioError::IniInternalA)), EInternal);
    EXPECT_THROW(RaiseForCode(toCode(SlioError::TapiNoMem)), ETapiNoMem);
    EXPECT_THROW(RaiseForCode(toCode(SlioError::ProtocolAborted)), EProtocol);
    EXPECT_THROW(RaiseForCode(-8012), EFax);  // any code of the fax range
    try {
        RaiseForCode(toCode(SlioError::NoPortSelected));
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
        RaiseForCode(toCode(SlioError::DeviceReadError));
    } catch (const std::system_error& e) {
        EXPECT_EQ(e.code().value(), -toCode(SlioError::DeviceReadError));
        EXPECT_STREQ(e.what(), "Device read error");
    }
    EXPECT_THROW(RaiseForCode(-8), std::bad_alloc);
}

TEST(RaiseForCode, CodesWithoutAClassRaiseThePlainException) {
    try {
        RaiseForCode(toCode(SlioError::BadHandle));
        FAIL() << "no exception";
    } catch (const ESlioException& e) {
        EXPECT_EQ(e.ErrorCode(), 0);
        EXPECT_STREQ(e.what(), "Slio exception");
    }
}

TEST(MessageForCode, TableThenSystemTextOnOneLine) {
    EXPECT_EQ(messageForCode(toCode(SlioError::NullApi)), "No device layer specified");
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
