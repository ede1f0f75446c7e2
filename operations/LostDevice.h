#pragma once

#include <exception>
#include <initializer_list>

#include "OperationOutcome.h"
#include "WindowLink.h"

namespace canprog {

// Ends an operation whose device vanished (its worker threads ended on a failure): message 5
// and a line of ours naming the device in the log (and message 5 in Edit3 when `statusLineToo`),
// the ticker off, the port closed, `bars` reset. The window stays usable.
OperationOutcome endOnLostDevice(WindowLink& link, bool statusLineToo,
                                 std::initializer_list<Ctl> bars);

// Runs the part of an operation that talks to the open port. A serial error raised because the
// device vanished ends the operation through endOnLostDevice; any other error passes on.
template <typename Body>
OperationOutcome talkToModule(WindowLink& link, bool statusLineToo, std::initializer_list<Ctl> bars,
                              Body body) {
    try {
        return body();
    } catch (const std::exception&) {
        if (!link.deviceLost()) throw;
    }
    return endOnLostDevice(link, statusLineToo, bars);
}

}  // namespace canprog
