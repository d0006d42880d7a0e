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
    bool timed_out = false;  // killed after the time limit
    double seconds = 0;      // from fork to the child's end
    std::string err;         // everything written to stderr

    int count(const std::string& needle) const;
    bool has(const std::string& needle) const { return count(needle) > 0; }
};

// The child runs `scenario`, then exits with status 0. A child still
// running after `limit_seconds` is killed, so a hang fails the test instead
// of stalling the run; the default stays below the test runner's own limit
// and leaves room for a loaded machine.
ChildEnd runInChild(const std::function<void()>& scenario, int limit_seconds = 100);

}  // namespace crashguard_test
