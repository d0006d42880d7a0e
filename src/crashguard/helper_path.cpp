#include "crashguard/helper_path.h"

#include <unistd.h>

// The build sets this from the install layout: the helper's folder relative
// to the program's.
#ifndef VAROMEL_HELPER_FROM_PROGRAM_DIR
#define VAROMEL_HELPER_FROM_PROGRAM_DIR "../libexec/varomel"
#endif

namespace crashguard {

std::string helperPathFor(const std::string& exe_path) {
    size_t slash = exe_path.rfind('/');
    std::string folder = slash == std::string::npos ? "." : exe_path.substr(0, slash);
    std::string installed = folder + "/" VAROMEL_HELPER_FROM_PROGRAM_DIR "/varomel-crashbox";
    if (access(installed.c_str(), X_OK) == 0) return installed;
    return folder + "/varomel-crashbox";
}

}  // namespace crashguard
