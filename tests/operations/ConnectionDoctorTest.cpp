#include <gtest/gtest.h>

#include "operations/ConnectionDoctor.h"
#include "serial/ConnectionFacts.h"
#include "support/FormFixture.h"

// What the connection check makes of the system's facts, recorded as each machine gives them:
// a finding for every cause of "port busy", "no port" and a slow answer, each saying the fix.
namespace canprog {
namespace {

using serial::ConnectionFacts;

class ConnectionDoctorTest : public ::testing::Test, public testing::FormFixture {
  protected:
    void SetUp() override { startUp(form); }
};

TEST_F(ConnectionDoctorTest, EachCauseIsFoundWithItsFix) {
    const auto present = [] {
        ConnectionFacts facts;
        facts.device = "/dev/ttyUSB0";
        facts.exists = true;
        return facts;
    };
    struct Case {
        const char* name;
        ConnectionFacts facts;
        const char* expected;  // in one finding
        bool problem;
    };
    ConnectionFacts missing;
    missing.device = "/dev/ttyUSB0";
    ConnectionFacts denied = present();
    denied.permitted = false;
    ConnectionFacts held = present();
    held.holders = {{4242, "minicom"}};
    ConnectionFacts probing = present();
    probing.device = "/dev/ttyACM0";
    probing.holders = {{300, "ModemManager"}};
    ConnectionFacts braille = missing;
    braille.watchers = {"brltty"};
    ConnectionFacts noDriver = missing;
    noDriver.unready = {{"USB Serial", "1A86", 28}};
    ConnectionFacts ftdi = present();
    ftdi.vendorId = "0403";
    ftdi.productId = "6001";
    ftdi.description = "FTDI FT232R USB UART";
    ftdi.driver = "ftdi_sio";
    ftdi.latencyTimer_ms = 16;
    ConnectionFacts ftdiWindows = ftdi;
    ftdiWindows.driver = "FTDIBUS";
    ConnectionFacts uart = present();
    uart.device = "/dev/ttyS0";
    uart.receiveTriggerBytes = 8;
    ConnectionFacts acpi = present();
    acpi.device = "\\\\.\\COM1";
    acpi.driver = "ACPI";
    acpi.builtInUart = true;
    ConnectionFacts busy = present();
    busy.busy = true;
    for (const Case& c : {
             Case{"missing", missing, "(/dev/ttyUSB0) is not there: plug the adapter in", true},
             Case{"denied", denied, "add it to the dialout group (sudo usermod -aG dialout", true},
             Case{"held", held, "is held open by minicom (process 4242): close that program", true},
             Case{"probing", probing, "ModemManager probes new ttyACM ports", true},
             Case{"braille", braille, "remove it (sudo apt purge brltty)", true},
             Case{"no driver", noDriver,
                  "USB Serial (WCH (CH340/CH341)) is plugged in but has no working driver "
                  "(problem code 28): install the WCH CH341SER driver",
                  true},
             Case{"ftdi", ftdi, "FTDI FT232R USB UART [0403:6001], ftdi_sio", false},
             Case{"ftdi latency", ftdi,
                  "latency timer is 16 ms: every reply waits that long. echo 1 | sudo tee "
                  "/sys/bus/usb-serial/devices/ttyUSB0/latency_timer",
                  false},
             Case{"ftdi on windows", ftdiWindows, "set \"Latency Timer (msec)\" to 1 (it is 16",
                  false},
             Case{"uart", uart, "echo 1 | sudo tee /sys/class/tty/ttyS0/rx_trig_bytes", false},
             Case{"acpi", acpi, "set its \"Receive buffer\" to the lowest", false},
             Case{"busy", busy, "is in use by another program", true},
         }) {
        SCOPED_TRACE(c.name);
        const auto findings = judgeConnection(form, c.facts);
        const auto found = std::find_if(findings.begin(), findings.end(), [&](const auto& f) {
            return f.text.find(c.expected) != std::string::npos;
        });
        ASSERT_NE(found, findings.end()) << findings.front().text;
        EXPECT_EQ(found->kind == DoctorFinding::Kind::Problem, c.problem) << found->text;
    }
    // A port that is there, open to this user and held by no one: no problem found in it.
    for (const auto& finding : judgeConnection(form, present())) {
        EXPECT_EQ(finding.kind, DoctorFinding::Kind::Fact) << finding.text;
    }
}

// The device rows of Windows' device list: only the four makers' chips with a problem code.
TEST_F(ConnectionDoctorTest, OnlyTheAdaptersChipsWithoutAWorkingDriverAreUnready) {
    const std::vector<serial::DeviceRow> rows = {
        {"USB\\VID_0403&PID_6001&REV_0600", "FT232R USB UART", 28},
        {"USB\\VID_067B&PID_2303", "USB-Serial Controller", 10},
        {"USB\\VID_10C4&PID_EA60", "CP2102 USB to UART Bridge Controller", 0},
        {"USB\\VID_046D&PID_C52B", "USB Receiver", 28},
        {"ACPI\\PNP0501", "Communications Port", 22},
        {"usb\\vid_1a86&pid_7523", "USB2.0-Serial", 1},
    };
    std::vector<std::string> found;
    for (const auto& adapter : serial::unreadyAdaptersAmong(rows)) {
        found.push_back(adapter.vendorId + " " + std::to_string(adapter.problemCode));
    }
    EXPECT_EQ(found, (std::vector<std::string>{"0403 28", "067B 10", "1A86 1"}));
}

}  // namespace
}  // namespace canprog
