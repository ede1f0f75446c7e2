#pragma once

#include <memory>

#include "model/SystemPump.h"
#include "operations/Operations.h"
#include "sim/SimulatedModule.h"
#include "support/FormFixture.h"
#include "support/TestData.h"

namespace canprog::testing {

// The window's model and operations, with the real clock and timing constants, against a
// simulated module on a pseudo-terminal of its own.
struct ModuleFixture {
    ModuleFixture() { startUp(form); }

    void startModule(sim::SimOptions options = {}) {
        module = std::make_unique<sim::SimulatedModule>(std::move(options));
        module->start();
        operations.ComPort().SetDevicePath(module->devicePath());
    }

    // Lines of the log as they stand.
    const std::vector<std::string>& log() const { return form.logLines(); }

    // Frames of one command the module received.
    std::vector<sim::FrameRecord> framesOf(std::uint8_t command) const {
        std::vector<sim::FrameRecord> out;
        for (const auto& f : module->frames()) {
            if (f.command == command) out.push_back(f);
        }
        return out;
    }

    RecordingShell shell;
    MainForm form{shell};
    HelpWindow help;
    SystemPump pump{form};
    Operations operations{form, help, pump};
    std::unique_ptr<sim::SimulatedModule> module;
};

}  // namespace canprog::testing
