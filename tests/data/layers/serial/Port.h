// A serial-layer header that wrongly reaches up into the operations.
#include "operations/Upload.h"
