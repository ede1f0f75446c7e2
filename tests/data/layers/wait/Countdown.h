// The countdown, wrongly reaching across into the firmware files beside it.
#include "firmware/Images.h"
