#include "child_process.h"

#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>

namespace crashguard_test {

int ChildEnd::count(const std::string& needle) const {
    int n = 0;
    for (size_t at = err.find(needle); at != std::string::npos; at = err.find(needle, at + needle.size())) ++n;
    return n;
}

ChildEnd runInChild(const std::function<void()>& scenario, int limit_seconds) {
    ChildEnd end;
    int fds[2];
    if (pipe(fds) != 0) return end;
    auto started = std::chrono::steady_clock::now();
    auto deadline = started + std::chrono::seconds(limit_seconds);
    pid_t pid = fork();
    if (pid == 0) {
        // No core files from the crashes these tests cause on purpose.
        struct rlimit no_core = {0, 0};
        setrlimit(RLIMIT_CORE, &no_core);
        close(fds[0]);
        dup2(fds[1], 2);
        close(fds[1]);
        scenario();
        _exit(0);
    }
    close(fds[1]);
    char chunk[4096];
    for (;;) {
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        struct pollfd p = {fds[0], POLLIN, 0};
        int ready = left.count() > 0 ? poll(&p, 1, static_cast<int>(left.count())) : 0;
        if (ready < 0 && errno == EINTR) continue;
        if (ready == 0) {
            // Helpers the child started may hold the pipe open too: once the
            // child is killed, stop reading.
            end.timed_out = true;
            kill(pid, SIGKILL);
            break;
        }
        ssize_t n = read(fds[0], chunk, sizeof(chunk));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        end.err.append(chunk, static_cast<size_t>(n));
    }
    close(fds[0]);
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {}
    end.exited = WIFEXITED(status);
    end.exit_code = end.exited ? WEXITSTATUS(status) : -1;
    end.signaled = WIFSIGNALED(status);
    end.signal = end.signaled ? WTERMSIG(status) : 0;
    end.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    return end;
}

}  // namespace crashguard_test
