// An operation: it may include what lies below it.
#include "model/Form.h"
#include "serial/Port.h"
