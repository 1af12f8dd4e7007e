#pragma once

// pxlib's header declares C functions without a C++ guard.
extern "C" {
#include <paradox.h>
}
