// Shows a crash text through a small helper program of ours: the crashed
// process itself never touches the toolkit.
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

#include "crashguard/guard_state.h"

extern char** environ;

namespace crashguard::detail {

// Signal context: pipe2, write, vfork, execve, waitpid only. The text goes
// into the pipe before the helper starts (it fits the pipe's buffer), so a
// helper that dies early cannot raise SIGPIPE here.
void show_message_box(const char* text, const char* caption) {
    if (g_helper_path[0] == '\0') return;
    int fds[2];
    // Non-blocking, so that a pipe smaller than the text cuts it instead of
    // blocking this thread for good.
    if (pipe2(fds, O_CLOEXEC | O_NONBLOCK) != 0) return;
    write_all(fds[1], text);
    close(fds[1]);
    char* argv[] = {g_helper_path, const_cast<char*>(caption), g_settings.owner_window_class, nullptr};
    pid_t pid = vfork();
    if (pid == 0) {
        // With standard input closed the pipe's reading end may itself be
        // fd 0: dup2 onto itself would keep its close-on-exec flag, so the
        // flag is cleared instead. Elsewhere dup2 leaves the copy without it.
        if (fds[0] == 0)
            fcntl(0, F_SETFD, 0);
        else
            dup2(fds[0], 0);
        execve(g_helper_path, argv, environ);
        _exit(127);
    }
    close(fds[0]);
    if (pid < 0) return;
    int status = 0;
    // ECHILD (someone else reaped it) ends the wait as well.
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
}

void notify(const char* text, const char* caption) {
    if (g_settings.crash_callback) g_settings.crash_callback();
    if (g_settings.show_message_box == 1) show_message_box(text, caption);
}

}  // namespace crashguard::detail
