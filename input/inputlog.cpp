#include "inputlog.h"

Q_LOGGING_CATEGORY(lcInput, "vesk.input")
