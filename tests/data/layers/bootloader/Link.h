// The link: the waits and the files lie below it, the window's state above.
#include "firmware/Images.h"
#include "model/Form.h"
#include "wait/Countdown.h"
