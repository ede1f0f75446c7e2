#include "serial/AdapterLatency.h"

namespace canprog::serial {

AdapterLatency adapterLatency(int) {
    return {};
}

}  // namespace canprog::serial
