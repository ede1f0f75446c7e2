#include <windows.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <system_error>
#include <thread>

#include "PortSystem.h"
#include "serial/PortMap.h"
#include "serial/SlSelCom.h"

namespace canprog::serial {

namespace {

// How long the list waits for the ports that only an open finds: they show when found by
// then, the list itself shows at once either way.
constexpr auto kProbeWait = std::chrono::milliseconds(150);

std::optional<int> comNumberOf(const std::string& portName) {
    if (portName.size() < 4 || portName.compare(0, 3, "COM") != 0) return std::nullopt;
    const int number = std::atoi(portName.c_str() + 3);
    return number > 0 ? std::optional<int>(number) : std::nullopt;
}

// The probes of a list, shared with the thread that runs them: a probe that blocks (a
// Bluetooth port that only an open finds) finishes on that thread after the list has gone.
struct Survey {
    std::mutex lock;
    std::condition_variable finished;
    std::vector<PresentPort> found;
    bool done = false;
};

}  // namespace

std::vector<PresentPort> presentPortsFrom(PortSystem& system, int highest) {
    // The ports the system names are listed without opening any: an open applies the port's
    // stored settings to its lines, and a Bluetooth port's blocks for seconds.
    std::map<int, PresentPort> listed;
    for (const auto& device : system.registeredPorts()) {
        const auto number = comNumberOf(device.portName);
        if (!number || *number > highest) continue;
        listed[*number] = {*number, portDevicePath(*number), false, device.friendlyName, {}};
    }
    for (const auto& [device, portName] : system.serialCommPorts()) {
        const auto number = comNumberOf(portName);
        if (!number || *number > highest || listed.count(*number)) continue;
        listed[*number] = {*number, portDevicePath(*number), false, {}, {}};
    }

    // Numbers that no list names (a compatibility layer's ports) are found by opening them,
    // on a thread of their own, for a bounded time.
    std::vector<int> unlisted;
    for (int number = 1; number <= highest; ++number) {
        if (!listed.count(number)) unlisted.push_back(number);
    }
    auto survey = std::make_shared<Survey>();
    try {
        std::thread([survey, &system, unlisted = std::move(unlisted)] {
            for (const int number : unlisted) {
                const PortSystem::Probe result = system.probe(number);
                if (result == PortSystem::Probe::Absent) continue;
                const std::lock_guard guard(survey->lock);
                survey->found.push_back(
                    {number, portDevicePath(number), result == PortSystem::Probe::Busy, {}, {}});
            }
            const std::lock_guard guard(survey->lock);
            survey->done = true;
            survey->finished.notify_all();
        }).detach();
        std::unique_lock guard(survey->lock);
        survey->finished.wait_for(guard, kProbeWait, [&] { return survey->done; });
        for (const PresentPort& port : survey->found) listed.emplace(port.number, port);
    } catch (const std::system_error&) {
        // No thread for the probes: the lists alone.
    }

    std::vector<PresentPort> ports;
    for (auto& [number, port] : listed) ports.push_back(std::move(port));
    return ports;
}

std::vector<PresentPort> presentPorts(int highest) {
    return presentPortsFrom(win32PortSystem(), highest);
}

}  // namespace canprog::serial
