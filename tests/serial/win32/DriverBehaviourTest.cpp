#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <set>

#include "bootloader/BootloaderProtocol.h"
#include "model/HelpWindow.h"
#include "model/SystemPump.h"
#include "operations/Operations.h"
#include "serial/win32/PortSystem.h"
#include "serial/win32/RegistryValues.h"
#include "serial/win32/SlWin32.h"
#include "serial/win32/Win32Errors.h"
#include "support/Eventually.h"
#include "support/FormFixture.h"
#include "support/win32/DriverModels.h"

// The serial layer against models of the drivers our users have (see DriverModels.h): what
// passes under Wine's serial layer has to pass against each driver's habits too.
namespace canprog {
namespace {

using namespace std::chrono_literals;
using testing::driverClasses;
using testing::DriverHabits;
using testing::eventually;
using testing::ModelledPort;
using testing::WireEvent;

constexpr const char* kModelledDevice = "\\\\.\\COM9";

// The window's operations, their port on a modelled driver with the module at its far end.
struct ModelledModule {
    explicit ModelledModule(DriverHabits habits) : device(std::move(habits)) {
        startUp(form);
        operations.ComPort().SetDevicePath(kModelledDevice);
    }
    std::string log() const {
        std::string lines;
        for (const auto& line : form.logLines()) lines += line + "\n";
        return lines;
    }

    ModelledPort device;
    testing::RecordingShell shell;
    MainForm form{shell};
    HelpWindow help;
    SystemPump pump{form};
    Operations operations{form, help, pump, [this] {
                              return std::make_unique<serial::TSlioWin32Dispatcher>(device);
                          }};
};

// A port component alone on a modelled driver.
struct ModelledComPort {
    explicit ModelledComPort(DriverHabits habits) : device(std::move(habits)) {
        port.SetDevicePath(kModelledDevice);
        port.SetBaud(9600);
    }
    ModelledPort device;
    serial::TSlioComPort port{
        [this] { return std::make_unique<serial::TSlioWin32Dispatcher>(device); }};
};

TEST(DriverBehaviourResetPulse, RtsGoesOnAndOffHalfASecondApartBeforeTheFirstByteInEveryModel) {
    for (const DriverHabits& habits : driverClasses()) {
        SCOPED_TRACE(habits.name);
        ModelledModule module(habits);
        ASSERT_EQ(module.operations.readVersion(), OperationOutcome::Finished) << module.log();
        const std::vector<WireEvent> wire = module.device.wire();
        const auto firstByte = std::find_if(wire.begin(), wire.end(), [](const WireEvent& e) {
            return e.kind == WireEvent::Kind::ToModule;
        });
        ASSERT_NE(firstByte, wire.end());
        EXPECT_EQ(firstByte->value, WAKE);
        // The last RTS change before the first byte lowers it; the one before raised it.
        std::vector<WireEvent> rts;
        std::copy_if(wire.begin(), firstByte, std::back_inserter(rts),
                     [](const WireEvent& e) { return e.kind == WireEvent::Kind::Rts; });
        ASSERT_GE(rts.size(), 2u);
        const WireEvent& off = rts.back();
        const WireEvent& on = rts[rts.size() - 2];
        EXPECT_EQ(on.value, 1);
        EXPECT_EQ(off.value, 0);
        EXPECT_GE(off.at - on.at, 500ms);
    }
}

// The restart frame is the last thing an operation sends; closing at once loses it on
// adapters whose writes complete before the bytes have left.
TEST(DriverBehaviourLastFrame, TheRestartFrameIsWholeOnTheWireBeforeTheClose) {
    for (const DriverHabits& habits : driverClasses()) {
        if (!habits.settingsOrCloseDropFifo) continue;
        SCOPED_TRACE(habits.name);
        ModelledModule module(habits);
        ASSERT_EQ(module.operations.readVersion(), OperationOutcome::Finished) << module.log();
        EXPECT_TRUE(module.device.closed());
        EXPECT_EQ(module.device.droppedBytes(), 0);
        const auto frames = module.device.frames();
        ASSERT_FALSE(frames.empty());
        EXPECT_EQ(frames.back().command, RESTART);
        EXPECT_TRUE(frames.back().checksumOk);
    }
}

TEST(DriverBehaviourTeardown, ACancelThatNeverCompletesStillLetsThePortClose) {
    DriverHabits clone;
    clone.name = "clone";
    clone.cancelNeverCompletes = true;
    clone.readsReturnAtOnce = false;  // a read waits in the driver, to be cancelled
    ModelledComPort modelled(clone);
    modelled.port.SetOpen(true);
    ASSERT_TRUE(eventually([&] { return modelled.device.readWaiting(); }));
    const auto closing = std::chrono::steady_clock::now();
    modelled.port.SetOpen(false);
    ::testing::Test::RecordProperty(
        "close_ms", static_cast<int>((std::chrono::steady_clock::now() - closing) / 1ms));
    EXPECT_FALSE(modelled.port.Open());
    EXPECT_TRUE(modelled.device.closed());
    // The request the driver kept is the program's to keep; the port opens again.
    modelled.port.SetOpen(true);
    EXPECT_TRUE(modelled.port.Open());
    modelled.port.SetOpen(false);
}

TEST(DriverBehaviourTeardown, AWriteThatNeitherEndsNorCancelsLosesThePort) {
    DriverHabits stuck;
    stuck.name = "stuck";
    stuck.writesNeverComplete = true;
    stuck.cancelNeverCompletes = true;
    ModelledComPort modelled(stuck);
    modelled.port.SetOpen(true);
    modelled.port.WriteByte(0x55);
    ASSERT_TRUE(eventually([&] { return modelled.device.writeWaiting(); }));
    modelled.port.DiscardOutput();
    EXPECT_TRUE(eventually([&] { return modelled.port.DeviceFailure() < 0; }));
    modelled.port.SetOpen(false);
    EXPECT_TRUE(modelled.device.closed());
}

TEST(DriverBehaviourLineSettings, TheOpenSucceedsFromTheSettingsAnotherProgramLeft) {
    DriverHabits inherited;
    inherited.name = "another program's DCB";
    inherited.hostileDcb = true;
    ModelledComPort modelled(inherited);
    modelled.port.SetOpen(true);
    ASSERT_TRUE(modelled.port.Open());
    const DCB dcb = modelled.device.settings();
    EXPECT_NE(dcb.XonChar, dcb.XoffChar);
    EXPECT_LE(dcb.XonLim, 4096);
    EXPECT_LE(dcb.XoffLim, 4096);
    EXPECT_FALSE(dcb.fAbortOnError);
    EXPECT_EQ(dcb.BaudRate, 9600u);
    modelled.port.SetOpen(false);
}

TEST(DriverBehaviourReceive, ReadsCompleteOnEveryReceivePathRealDriversTake) {
    DriverHabits abortsOnce = driverClasses()[1];  // usbser.sys, whose event wait ends aborted
    DriverHabits noEvents;
    noEvents.name = "no comm events";
    noEvents.commEvents = false;
    DriverHabits both = noEvents;
    both.name = "no comm events, reads wait in the driver";
    both.readsReturnAtOnce = false;
    for (const DriverHabits& habits : {abortsOnce, noEvents, both}) {
        SCOPED_TRACE(habits.name);
        ModelledModule module(habits);
        ASSERT_EQ(module.operations.readVersion(), OperationOutcome::Finished) << module.log();
        EXPECT_EQ(module.form.logLines()[2], "Program version: DEMO 1.00       ");
    }
}

TEST(DriverBehaviourTime, TheDrainWaitIsBoundedByTheClockAndTheTimerIsGivenBack) {
    DriverHabits held;
    held.name = "held by flow control, coarse sleeps";
    held.writesNeverComplete = true;
    held.coarseSleep = true;
    ModelledComPort modelled(held);
    modelled.port.SetOpen(true);
    EXPECT_EQ(modelled.device.timerRequests(), 1);  // raised while the port is open
    modelled.port.WriteByte(0x01);
    ASSERT_TRUE(eventually([&] { return modelled.device.writeWaiting(); }));
    modelled.port.WriteByte(0x02);  // stays in the transmit ring behind the held write
    const auto before = modelled.device.sleptOnTheClock();
    modelled.port.SetBaud(19200);  // a change of the line settings waits for the ring to drain
    const auto waited = modelled.device.sleptOnTheClock() - before;
    EXPECT_GE(waited, 10s);
    EXPECT_LT(waited, 11s);
    modelled.port.SetOpen(false);
    EXPECT_EQ(modelled.device.timerRequests(), 0);  // given back at the close
}

// A system whose lists name three ports, one of them Bluetooth, and whose unlisted port 12
// blocks its open until the test lets it go.
class ListedPorts : public serial::PortSystem {
  public:
    std::vector<serial::PortDevice> registeredPorts() override {
        return {{"COM3", "FTDIBUS", 16, "USB Serial Port (COM3)"},
                {"COM7", "BTHENUM", {}, "Standard Serial over Bluetooth link (COM7)"}};
    }
    std::vector<std::pair<std::string, std::string>> serialCommPorts() override {
        return {{"\\Device\\Serial0", "COM1"}, {"\\Device\\BthModem0", "COM7"}};
    }
    Probe probe(int number) override {
        std::unique_lock guard(lock_);
        probed_.insert(number);
        if (number == 12) released_.wait_for(guard, 5s, [this] { return release_; });
        if (number == kHighest) lastProbed_ = true;
        return number == 9 ? Probe::Present : Probe::Absent;
    }
    void release() {
        const std::lock_guard guard(lock_);
        release_ = true;
        released_.notify_all();
    }
    std::set<int> probed() {
        const std::lock_guard guard(lock_);
        return probed_;
    }
    bool lastProbed() {
        const std::lock_guard guard(lock_);
        return lastProbed_;
    }
    static constexpr int kHighest = 16;

  private:
    std::mutex lock_;
    std::condition_variable released_;
    bool release_ = false;
    bool lastProbed_ = false;
    std::set<int> probed_;
};

TEST(DriverBehaviourPortList, ListedPortsAreNeverOpenedAndABlockingOneDoesNotHoldTheList) {
    ListedPorts system;
    const auto ports = serial::presentPortsFrom(system, ListedPorts::kHighest);
    const bool stillBlocked = !system.lastProbed();
    system.release();
    std::vector<int> numbers;
    for (const auto& port : ports) numbers.push_back(port.number);
    EXPECT_EQ(numbers, (std::vector<int>{1, 3, 7, 9}));
    EXPECT_EQ(ports[1].description, "USB Serial Port (COM3)");
    EXPECT_EQ(ports[2].description, "Standard Serial over Bluetooth link (COM7)");
    EXPECT_TRUE(stillBlocked);  // the list came back while port 12's open still blocked
    const auto probed = system.probed();
    for (const int listed : {1, 3, 7}) EXPECT_EQ(probed.count(listed), 0u) << listed;
    // The probe left running finishes on its own once the open returns.
    EXPECT_TRUE(eventually([&] { return system.lastProbed(); }));
}

TEST(DriverBehaviourSystemTexts, WindowsOwnTextsArriveIntactInEveryLanguage) {
    struct Row {
        LANGID language;
        const char* text;
    };
    for (const Row& row : {Row{MAKELANGID(LANG_POLISH, SUBLANG_DEFAULT), "Odmówiono dostępu."},
                           Row{MAKELANGID(LANG_RUSSIAN, SUBLANG_DEFAULT), "Доступ запрещён."},
                           Row{MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN), "Zugriff verweigert"}}) {
        EXPECT_NE(serial::win32ErrorText(ERROR_ACCESS_DENIED, row.language).find(row.text),
                  std::string::npos)
            << serial::win32ErrorText(ERROR_ACCESS_DENIED, row.language);
    }

    // A port's name for people as a Polish system stores it.
    const std::wstring key = L"Software\\canprog-tests\\ports";
    HKEY opened = nullptr;
    ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                                nullptr, &opened, nullptr),
              ERROR_SUCCESS);
    const serial::RegistryKey ports(opened);
    const std::wstring name = L"Port szeregowy USB — złącze (COM3)";
    ::RegSetValueExW(ports.get(), L"FriendlyName", 0, REG_SZ,
                     reinterpret_cast<const BYTE*>(name.c_str()),
                     static_cast<DWORD>((name.size() + 1) * sizeof(wchar_t)));
    EXPECT_EQ(serial::registryText(ports.get(), L"FriendlyName"),
              std::optional<std::string>("Port szeregowy USB — złącze (COM3)"));
    const auto all = serial::registryTexts(ports.get());
    ASSERT_EQ(all.size(), 1u);
    EXPECT_EQ(all[0].second, "Port szeregowy USB — złącze (COM3)");
    ::RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\canprog-tests");
}

}  // namespace
}  // namespace canprog
