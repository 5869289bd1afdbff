// Starts a program and waits for the X server to map its first window; prints the time from
// launch to the map, in milliseconds, and the program's resident memory just after, in KiB.
// Usage: startup-probe PROGRAM [ARGUMENT...]   (needs DISPLAY)
#include <X11/Xlib.h>
#include <signal.h>
#include <spawn.h>
#include <sys/select.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>
#include <thread>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

// Waits for the first mapped top-level window, or gives up after the timeout.
bool WaitForMap(Display* display, std::chrono::seconds timeout) {
    const auto deadline = Clock::now() + timeout;
    const int fd = ConnectionNumber(display);
    while (Clock::now() < deadline) {
        while (XPending(display)) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type == MapNotify && !event.xmap.override_redirect) return true;
        }
        fd_set readable;
        FD_ZERO(&readable);
        FD_SET(fd, &readable);
        timeval tick{0, 10'000};
        select(fd + 1, &readable, nullptr, nullptr, &tick);
    }
    return false;
}

long ResidentKiB(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
    }
    return -1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: startup-probe PROGRAM [ARGUMENT...]\n");
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "startup-probe: no display\n");
        return 2;
    }
    XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
    XSync(display, False);

    const auto start = Clock::now();
    pid_t pid = 0;
    if (posix_spawn(&pid, argv[1], nullptr, nullptr, argv + 1, environ) != 0) {
        std::perror("startup-probe");
        return 2;
    }
    const bool mapped = WaitForMap(display, std::chrono::seconds(20));
    const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    std::this_thread::sleep_for(std::chrono::milliseconds(500));  // let the first paint settle
    const long rss = ResidentKiB(pid);
    kill(pid, SIGTERM);
    waitpid(pid, nullptr, 0);
    XCloseDisplay(display);
    if (!mapped) {
        std::fprintf(stderr, "startup-probe: no window within 20 s\n");
        return 1;
    }
    std::printf("%.1f %ld\n", ms, rss);
    return 0;
}
