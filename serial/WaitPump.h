#pragma once

#include "WaitHandle.h"

namespace canprog::serial {

// Lets the user-interface thread live while the serial layer waits for its own threads (their
// start, their end, the last bytes leaving at close): the window's pump, which sleeps until
// `wake` is signalled, a window event comes or the next tick falls due, and then handles what
// came. It may clear `wake`; the waiter looks at its own condition after every call.
class WaitPump {
  public:
    virtual ~WaitPump() = default;
    virtual void pumpUntil(WaitHandle wake) = 0;
};

}  // namespace canprog::serial
