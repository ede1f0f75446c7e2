// A helper of the lowest layer that wrongly reaches up into the serial layer.
#include "serial/Port.h"
