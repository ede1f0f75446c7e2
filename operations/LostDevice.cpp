#include "LostDevice.h"

#include "model/MessageIndex.h"

namespace canprog {

OperationOutcome endOnLostDevice(WindowLink& link, bool statusLineToo,
                                 std::initializer_list<Ctl> bars) {
    MainForm& form = link.form();
    link.recordLostDevice();
    if (statusLineToo) {
        form.logMessageAndShow(msg::TransmissionError);
    } else {
        form.logMessage(msg::TransmissionError);
    }
    const std::string device =
        link.openedDevice().empty() ? link.deviceName() : link.openedDevice();
    if (statusLineToo) {
        form.logNoteAndShow(Extra::DeviceLost, {{"device", device}},
                            MainForm::ShowNote::BelowStatus);
    } else {
        form.logNote(Extra::DeviceLost, {{"device", device}});
    }
    form.countdown().disableTicker();
    try {
        link.port().SetOpen(false);
    } catch (...) {
        // The device is gone; closing what is left of it cannot fail in a way that matters.
    }
    for (Ctl bar : bars) {
        form.setProgressMinimum(bar, 0);
        form.setProgressPosition(bar, 0);
    }
    return OperationOutcome::DeviceLost;
}

}  // namespace canprog
