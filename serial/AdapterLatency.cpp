#include "AdapterLatency.h"

#include "SlSelCom.h"

namespace canprog::serial {

AdapterLatency adapterLatencyAmong(const std::vector<PortDevice>& devices, int comNumber) {
    for (const auto& device : devices) {
        if (device.portName != portItem(comNumber)) continue;
        return {device.enumerator == "FTDIBUS", device.latencyTimer_ms};
    }
    return {};
}

}  // namespace canprog::serial
