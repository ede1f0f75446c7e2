// libFuzzer target for a saved parameter block read back by `params restore`: any text must
// either be refused with a reason or give a block that saves to the same block again.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "operations/SavedBlock.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace canprog;
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::string why;
    const auto saved = parseSavedBlock(text, why);
    if (!saved) {
        if (why.empty()) std::abort();
        return 0;
    }
    const auto again = parseSavedBlock(savedBlockJson(*saved, '1'), why);
    if (!again || again->block != saved->block || again->deviceId != saved->deviceId) std::abort();
    return 0;
}
