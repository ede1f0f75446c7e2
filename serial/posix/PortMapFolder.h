#pragma once

#include <string>

namespace canprog::serial {

// The folder of COMn links: $CANPROG_PORTS, else ${XDG_CONFIG_HOME:-~/.config}/canprog/ports.
std::string portMapFolder();

}  // namespace canprog::serial
