#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "PortProbe.h"
#include "serial/ConnectionFacts.h"
#include "serial/PortMap.h"

namespace canprog::serial {

namespace {

namespace fs = std::filesystem;

// How far up from a terminal's device its USB device's attributes stand (interface, device).
constexpr int kUsbLevels = 4;
constexpr const char* kPtyMaster = "/dev/ptmx";
constexpr const char* kPtySlaves = "/dev/pts/";

std::optional<std::string> firstLine(const fs::path& file) {
    std::ifstream in(file);
    std::string line;
    if (!in || !std::getline(in, line)) return std::nullopt;
    return line;
}

std::optional<int> number(const fs::path& file) {
    const auto line = firstLine(file);
    if (!line || line->empty() || line->find_first_not_of("0123456789") != std::string::npos) {
        return std::nullopt;
    }
    return std::stoi(*line);
}

std::string upper(std::string text) {
    for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

// The USB attributes of the device above a terminal: vendor, product, and its name for people.
void readUsbDevice(const fs::path& ttyDevice, ConnectionFacts& facts) {
    std::error_code error;
    fs::path at = fs::canonical(ttyDevice, error);
    if (error) return;
    for (int level = 0; level <= kUsbLevels && !at.empty(); ++level, at = at.parent_path()) {
        const auto vendor = firstLine(at / "idVendor");
        if (!vendor) continue;
        facts.vendorId = upper(*vendor);
        facts.productId = upper(firstLine(at / "idProduct").value_or(""));
        const std::string maker = firstLine(at / "manufacturer").value_or("");
        const std::string product = firstLine(at / "product").value_or("");
        facts.description = maker.empty() ? product : maker + " " + product;
        return;
    }
}

// The programs that hold `device` open, and those running that take serial ports for their own.
void readProcesses(const fs::path& proc, const std::string& device, const std::string& real,
                   ConnectionFacts& facts) {
    std::error_code error;
    for (fs::directory_iterator entry(proc, error), end; !error && entry != end;
         entry.increment(error)) {
        const std::string pid = entry->path().filename().string();
        if (pid.find_first_not_of("0123456789") != std::string::npos) continue;
        const std::string program = firstLine(entry->path() / "comm").value_or("?");
        if (program == "brltty" || program == "ModemManager") facts.watchers.push_back(program);
        bool holds = false;
        bool holdsMaster = false;
        std::error_code fdError;
        for (fs::directory_iterator fd(entry->path() / "fd", fdError), fdEnd;
             !fdError && fd != fdEnd; fd.increment(fdError)) {
            std::error_code linkError;
            const fs::path target = fs::read_symlink(fd->path(), linkError);
            if (linkError) continue;
            holds = holds || target == device || target == real;
            holdsMaster = holdsMaster || target == kPtyMaster;
        }
        // A pseudo-terminal's other end (a simulator, socat) holds its slave side as well: it
        // is what answers there, not a program in the way.
        const bool otherEnd = holdsMaster && real.rfind(kPtySlaves, 0) == 0;
        if (holds && !otherEnd) facts.holders.push_back({std::stoi(pid), program});
    }
}

}  // namespace

ConnectionFacts lookUpConnection(int comNumber, const std::string& device,
                                 const ConnectionRoots& roots) {
    ConnectionFacts facts;
    facts.device = device.empty() ? portDevicePath(comNumber) : device;
    facts.namedDevice = !device.empty();
    struct stat status {};
    facts.exists = ::stat(facts.device.c_str(), &status) == 0 && S_ISCHR(status.st_mode);
    facts.permitted = !facts.exists || ::access(facts.device.c_str(), R_OK | W_OK) == 0;
    std::error_code error;
    const fs::path real = fs::canonical(facts.device, error);
    const std::string realDevice = error ? facts.device : real.string();
    readProcesses(roots.proc, facts.device, realDevice, facts);
    if (!facts.exists) return facts;

    const fs::path tty = fs::path(roots.sys) / "class" / "tty" / fs::path(realDevice).filename();
    std::error_code driverError;
    facts.driver = fs::canonical(tty / "device" / "driver", driverError).filename().string();
    if (driverError) facts.driver.clear();
    readUsbDevice(tty / "device", facts);
    facts.latencyTimer_ms = number(tty / "device" / "latency_timer");
    facts.receiveTriggerBytes = number(tty / "rx_trig_bytes");
    facts.builtInUart = facts.vendorId.empty() && (facts.driver.rfind("serial", 0) == 0 ||
                                                   facts.receiveTriggerBytes.has_value());
    facts.stableName = stableNameIn(roots.byId, facts.device);
    return facts;
}

}  // namespace canprog::serial
