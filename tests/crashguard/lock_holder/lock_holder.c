/* Loaded by a crash test on a thread of its own: its initialiser runs while
 * the loader holds its lock, and walks the loaded objects (which takes the
 * loader's list lock too), then never returns. A crash on another thread
 * then meets both locks held. */
#define _GNU_SOURCE
#include <link.h>
#include <stdlib.h>
#include <unistd.h>

static int hold_for_ever(struct dl_phdr_info* info, size_t size, void* data) {
    (void)info;
    (void)size;
    (void)data;
    const char* fd = getenv("CRASHGUARD_HOLDER_FD");
    if (fd) {
        char ready = 1;
        if (write(atoi(fd), &ready, 1) != 1) _exit(95);
    }
    for (;;) pause();
    return 0;
}

__attribute__((constructor)) static void hold_the_loader(void) { dl_iterate_phdr(hold_for_ever, NULL); }
