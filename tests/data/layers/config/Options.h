// The parameters: the protocol and the window's state both lie below them.
#include "bootloader/Link.h"
#include "model/Form.h"
