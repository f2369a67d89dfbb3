// The menu of the desktop program as data: its items are the menu rows of the registry of
// conversions (frontend/core/conversions.h), in menu order.
#pragma once

#include "frontend/core/conversions.h"
