#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <map>

#include "serial/SystemInfo.h"

namespace canprog::serial {
namespace {

namespace fs = std::filesystem;

// A power-supply folder as sysfs has it: a supply's name, and its files with their first line.
using Supplies = std::map<std::string, std::map<std::string, std::string>>;

TEST(PowerSupply, OnBatteryOnlyWhenABatteryDischargesAndNoSupplyIsOnline) {
    struct Row {
        const char* what;
        Supplies supplies;
        bool onBattery;
    };
    const Row rows[] = {
        {"a desktop without supplies", {}, false},
        {"a laptop on mains",
         {{"AC", {{"type", "Mains"}, {"online", "1"}}},
          {"BAT0", {{"type", "Battery"}, {"status", "Charging"}}}},
         false},
        {"a laptop unplugged",
         {{"AC", {{"type", "Mains"}, {"online", "0"}}},
          {"BAT0", {{"type", "Battery"}, {"status", "Discharging"}}}},
         true},
        {"a laptop charging over USB-C",
         {{"ucsi-source-psy-USBC000:001", {{"type", "USB"}, {"online", "1"}}},
          {"BAT1", {{"type", "Battery"}, {"status", "Discharging"}}}},
         false},
        {"a wireless mouse's battery on a desktop",
         {{"hidpp_battery_0", {{"type", "Battery"}, {"status", "Full"}}}},
         false},
    };
    const fs::path root =
        fs::temp_directory_path() / ("canprog-power-" + std::to_string(::getpid()));
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        fs::remove_all(root);
        fs::create_directories(root);
        for (const auto& [name, files] : row.supplies) {
            fs::create_directories(root / name);
            for (const auto& [file, line] : files)
                std::ofstream(root / name / file) << line << '\n';
        }
        EXPECT_EQ(onBatteryPower(root.string()), row.onBattery);
    }
    fs::remove_all(root);
    EXPECT_FALSE(onBatteryPower((root / "missing").string()));
}

}  // namespace
}  // namespace canprog::serial
