#include "check.h"

#include <glib.h>

namespace rt {

bool checkFailed(const char* condition, const char* file, int line) {
    g_critical("%s:%d: check failed: %s", file, line, condition);
    return false;
}

}  // namespace rt
