// libFuzzer target for what the tool makes of the module's replies: the device ID, the version
// text, the parameter blocks with their check bytes and memo lines, and the parameter image
// shown in the window's controls. An untouched PIN must always go back as it was read.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>

#include "bootloader/Replies.h"
#include "config/OptionControls.h"
#include "config/ParameterBlock.h"
#include "config/ParameterImage.h"
#include "model/MainForm.h"
#include "model/PlatformShell.h"

namespace {

// The next reply of `length` bytes from the input; missing bytes read as 0xFF.
canprog::FrameData takeReply(const std::uint8_t*& data, std::size_t& size, std::size_t length) {
    canprog::FrameData reply;
    reply.fill(0xFF);
    const std::size_t taken = std::min(size, length);
    std::copy_n(data, taken, reply.begin());
    data += taken;
    size -= taken;
    return reply;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace canprog;
    static NoShell shell;
    static MainForm form(shell);
    static const bool started = [] {
        startUp(form);
        bindOptionControls(form);
        return true;
    }();
    (void)started;

    deviceIdLine(takeReply(data, size, kDeviceIdReplySize));
    versionText(takeReply(data, size, kReadEepromReplySize));
    ParameterImage image;
    for (int block = 0; block < 16; ++block) {
        const FrameData reply = takeReply(data, size, kReadEepromReplySize);
        blockLine(block, reply);
        replyCheckHolds(reply);
        std::copy(reply.begin() + 1, reply.begin() + 17, image.begin() + block * kBlockSize);
    }
    form.images.eepromImage = image;
    applyParameterImage(form);
    const PinBytes pin = pinBytesToWrite(form.text(Ctl::PIN), form.images.eepromImage);
    for (std::size_t i = 0; i < pin.size(); ++i) {
        if (pin[i] != image[kPinAddresses[i]]) std::abort();
    }
    form.spinClick(Ctl::SpinButton1, MainForm::Arrow::Up);
    patchParameterImage(form, pin);
    return 0;
}
