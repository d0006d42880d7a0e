// Runs a scenario in a forked child so that a real crash leaves the test
// runner alive, and tells how the child ended and what it wrote to stderr.
#pragma once

#include <functional>
#include <string>

namespace crashguard_test {

struct ChildEnd {
    bool exited = false;
    int exit_code = -1;
    bool signaled = false;
    int signal = 0;
    std::string err;  // everything written to stderr

    int count(const std::string& needle) const;
    bool has(const std::string& needle) const { return count(needle) > 0; }
};

// The child runs `scenario`, then exits with status 0.
ChildEnd run_in_child(const std::function<void()>& scenario);

}  // namespace crashguard_test
