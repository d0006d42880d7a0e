// Counting the web processes a test program started, to see that closed
// views let theirs go.
#pragma once

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

namespace testsupport {

// Web processes below this test program that still run, at any depth: in
// the engine's sandbox they are children of bubblewrap, not of the program.
inline int webProcessCount() {
    std::multimap<std::string, std::string> children;  // parent pid -> pid
    std::map<std::string, std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
        std::ifstream status(entry.path() / "status");
        std::string line, name, parent;
        while (std::getline(status, line)) {
            if (line.rfind("Name:", 0) == 0) name = line;
            if (line.rfind("PPid:", 0) == 0) parent = line.substr(line.find_first_not_of(" \t", 5));
        }
        std::string pid = entry.path().filename().string();
        children.emplace(parent, pid);
        names[pid] = name;
    }
    int count = 0;
    std::vector<std::string> queue{std::to_string(getpid())};
    while (!queue.empty()) {
        std::string p = queue.back();
        queue.pop_back();
        auto [from, to] = children.equal_range(p);
        for (auto it = from; it != to; ++it) {
            queue.push_back(it->second);
            if (names[it->second].find("WebKitWebProces") != std::string::npos) ++count;
        }
    }
    return count;
}

}  // namespace testsupport
