#include "check.h"

#include <glib.h>

namespace runtime {

bool checkFailed(const char* condition, const char* file, int line) {
    g_critical("%s:%d: check failed: %s", file, line, condition);
    return false;
}

}  // namespace runtime
