// The pictures embedded in the program.
#pragma once

#include "runtime/value.h"

namespace app {

// Bytes of an embedded picture by file name ("back_normal.bmp"); empty when
// there is no such picture.
runtime::Bytes picture(const char* fileName);

}  // namespace app
