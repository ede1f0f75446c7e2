#include "serial/AdapterLatency.h"

#include "PortDevices.h"

namespace canprog::serial {

AdapterLatency adapterLatency(int comNumber) {
    return adapterLatencyAmong(registeredPortDevices(), comNumber);
}

}  // namespace canprog::serial
