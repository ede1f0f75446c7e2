#pragma once

#include "WindowLink.h"

namespace canprog {

// The note after "Error opening port": the port's device and why, in words a technician
// understands (no such port, with the ports there are; in use; no permission, with the fix).
void noteOpenFailure(WindowLink& link);

}  // namespace canprog
