/* Starts a program under the X server of $DISPLAY and reports how soon its
 * first top-level window is mapped, then, at a fixed moment after launch, its
 * resident memory and the CPU time it has used by then:
 *
 *     launch_probe SECONDS PROGRAM [ARGUMENTS...]
 *     -> "map_s cpu_s rss_kib"    (map_s is -1 when no window came in time)
 *
 * The program is killed at that moment; its CPU time is read from its exit
 * accounting, which is exact, rather than from clock ticks. */

#define _GNU_SOURCE
#include <X11/Xlib.h>

#include <poll.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

static double Now(void)
{
    struct timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return (double)t.tv_sec + (double)t.tv_nsec / 1e9;
}

static long ResidentKib(pid_t pid)
{
    char path[64], line[256];
    long kib = -1;
    snprintf(path, sizeof path, "/proc/%d/status", (int)pid);
    FILE* status = fopen(path, "r");
    if (!status) return -1;
    while (fgets(line, sizeof line, status))
        if (sscanf(line, "VmRSS: %ld", &kib) == 1) break;
    fclose(status);
    return kib;
}

int main(int argc, char** argv)
{
    if (argc < 3) {
        fprintf(stderr, "usage: %s SECONDS PROGRAM [ARGUMENTS...]\n", argv[0]);
        return 2;
    }
    const double window = atof(argv[1]);
    Display* display = XOpenDisplay(NULL);
    if (!display) {
        fprintf(stderr, "launch_probe: no X display\n");
        return 1;
    }
    /* With no window manager a top-level window is visible once mapped, and
     * its mapping is reported to whoever watches the root's children. */
    XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
    XSync(display, False);

    const double start = Now();
    const pid_t pid = fork();
    if (pid == 0) {
        execvp(argv[2], argv + 2);
        _exit(127);
    }
    if (pid < 0) return 1;

    double mapped = -1;
    struct pollfd x = {ConnectionNumber(display), POLLIN, 0};
    for (double left = window; mapped < 0 && left > 0; left = start + window - Now()) {
        while (mapped < 0 && XPending(display)) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type == MapNotify && !event.xmap.override_redirect) mapped = Now() - start;
        }
        if (mapped < 0) poll(&x, 1, (int)(left * 1000) + 1);
    }
    const double left = start + window - Now();
    if (left > 0) usleep((useconds_t)(left * 1e6));

    const long kib = ResidentKib(pid);
    kill(pid, SIGKILL);
    int status = 0;
    struct rusage usage;
    wait4(pid, &status, 0, &usage);
    const double cpu = (double)usage.ru_utime.tv_sec + usage.ru_utime.tv_usec / 1e6 +
        (double)usage.ru_stime.tv_sec + usage.ru_stime.tv_usec / 1e6;
    printf("%.3f %.3f %ld\n", mapped, cpu, kib);
    XCloseDisplay(display);
    return 0;
}
