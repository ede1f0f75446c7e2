#pragma once

#include <functional>
#include <memory>

#include "SlDispatch.h"

namespace canprog::serial {

// Makes the dispatcher that a port component opens its device with.
using DispatcherFactory = std::function<std::unique_ptr<TSlioBaseDispatcher>()>;

// The dispatcher of the system the program runs on, over the real system calls.
std::unique_ptr<TSlioBaseDispatcher> createPlatformDispatcher();

}  // namespace canprog::serial
