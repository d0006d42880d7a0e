// Shows a crash text through a small helper program of ours: the crashed
// process itself never touches the toolkit.
#include <fcntl.h>
#include <sched.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

#include "crashguard/guard_state.h"

extern char** environ;

namespace crashguard::detail {

namespace {

// The helper process starts on a stack of its own: with vfork it would run
// on the crashed thread's stack (here the alternate signal stack), and the
// sanitizers' vfork bookkeeping takes the thread's normal stack for that one
// and tramples their own tables. One helper runs at a time: the reporter
// slot and the fallback's once-only message see to that.
alignas(64) char g_helper_stack[64 * 1024];

struct HelperStart {
    int input;
    char** argv;
};

// Runs in the new process, which shares our memory until it execs: system
// calls only, no sanitizer checks.
__attribute__((no_sanitize("address", "undefined"))) int startHelper(void* arg) {
    auto* start = static_cast<HelperStart*>(arg);
    // With standard input closed the pipe's reading end may itself be fd 0:
    // dup2 onto itself would keep its close-on-exec flag, so the flag is
    // cleared instead. Elsewhere dup2 leaves the copy without it.
    if (start->input == 0) fcntl(0, F_SETFD, 0);
    else dup2(start->input, 0);
    execve(g_helper_path, start->argv, environ);
    _exit(127);
}

}  // namespace

// Signal context: pipe2, write, clone, execve, waitpid only. The text goes
// into the pipe before the helper starts (it fits the pipe's buffer), so a
// helper that dies early cannot raise SIGPIPE here.
void showMessageBox(const char* text, const char* caption) {
    if (g_helper_path[0] == '\0') return;
    int fds[2];
    // Non-blocking, so that a pipe smaller than the text cuts it instead of
    // blocking this thread for good.
    if (pipe2(fds, O_CLOEXEC | O_NONBLOCK) != 0) return;
    writeAll(fds[1], text);
    close(fds[1]);
    char* argv[] = {g_helper_path, const_cast<char*>(caption), g_settings.owner_window_class, nullptr};
    HelperStart start = {fds[0], argv};
    // Like vfork, this thread waits until the helper has exec'd.
    pid_t pid = clone(startHelper, g_helper_stack + sizeof(g_helper_stack), CLONE_VM | CLONE_VFORK | SIGCHLD, &start);
    close(fds[0]);
    if (pid < 0) return;
    int status = 0;
    // ECHILD (someone else reaped it) ends the wait as well.
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {}
}

void notify(const char* text, const char* caption) {
    if (g_settings.crash_callback) g_settings.crash_callback();
    if (g_settings.show_message_box == 1) showMessageBox(text, caption);
}

}  // namespace crashguard::detail
