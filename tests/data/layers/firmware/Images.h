// The firmware images, wrongly reaching up into the protocol.
#include "bootloader/Link.h"
