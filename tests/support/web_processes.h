// Counting the web processes a test program started, to see that closed
// views let theirs go.
#pragma once

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace testsupport {

// Web processes whose parent is this test program and that still run.
inline int webProcessCount() {
    int count = 0;
    std::string me = std::to_string(getpid());
    for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
        std::ifstream status(entry.path() / "status");
        std::string line, name;
        bool child = false;
        while (std::getline(status, line)) {
            if (line.rfind("Name:", 0) == 0) name = line;
            if (line.rfind("PPid:", 0) == 0) child = line.substr(line.find_first_not_of(" \t", 5)) == me;
        }
        if (child && name.find("WebKitWebProces") != std::string::npos) ++count;
    }
    return count;
}

}  // namespace testsupport
