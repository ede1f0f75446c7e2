// An operation: it may include what lies below it.
#include "app/model/Form.h"
#include "serial/Port.h"
