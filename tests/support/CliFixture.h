#pragma once

#include <gtest/gtest.h>

#include <pthread.h>
#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <sstream>
#include <string>
#include <thread>

#include "cli/ModuleCommands.h"
#include "firmware/FirmwareLoader.h"
#include "sim/SimulatedModule.h"
#include "support/TestData.h"

namespace canprog::testing {

// A command-line command against a simulated module, with a scratch folder of its own and
// what the command prints.
class CliFixture : public ::testing::Test {
  protected:
    void SetUp() override {
        scratch = std::filesystem::temp_directory_path() /
                  ("canprog-cli-" + std::to_string(::getpid()) + "-" +
                   ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(scratch);
    }
    void TearDown() override { std::filesystem::remove_all(scratch); }

    sim::SimulatedModule& start(sim::SimOptions options = {}) {
        module = std::make_unique<sim::SimulatedModule>(std::move(options));
        module->start();
        return *module;
    }
    cli::ModuleOptions onModule() const {
        cli::ModuleOptions options;
        options.device = module->devicePath();
        return options;
    }
    std::size_t framesOf(std::uint8_t command) const {
        std::size_t count = 0;
        for (const auto& frame : module->frames()) count += frame.command == command ? 1 : 0;
        return count;
    }
    std::size_t writeFrames() const { return framesOf(WRITE_FLASH) + framesOf(WRITE_EEPROM); }
    static FirmwareImages fileImages(const std::string& name) {
        FirmwareImages images;
        EXPECT_TRUE(loadFirmwareFile(dataFile(name), true, images).loaded());
        return images;
    }
    std::string inScratch(const std::string& name) const { return (scratch / name).string(); }
    // Sends `signal` to this thread once `ready` holds, as a terminal or `kill` would.
    template <typename Ready>
    std::thread signalWhen(int signal, Ready ready) {
        const pthread_t caller = pthread_self();
        return std::thread([caller, signal, ready] {
            for (int i = 0; i < 20000 && !ready(); ++i) {
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            }
            pthread_kill(caller, signal);
        });
    }

    std::filesystem::path scratch;
    std::unique_ptr<sim::SimulatedModule> module;
    std::ostringstream out;
    std::ostringstream err;
};

}  // namespace canprog::testing
