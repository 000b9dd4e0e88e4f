#include "platform/signals.hpp"

#include <dirent.h>
#include <fcntl.h>
#include <pthread.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <mutex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace vorlune::platform {
namespace {

struct SignalState {
    int pipe[2] = {-1, -1};                  // the handler writes the second signal's number; the watcher reads it
    struct sigaction ours {};                // our handler, reinstalled after SDL's reinstalls itself
    void (*sdlInt)(int) = nullptr;           // SDL's SIGINT handler, which turns the signal into a quit event
    void (*sdlTerm)(int) = nullptr;          // SDL's SIGTERM handler
    volatile sig_atomic_t quitRequested = 0; // a first signal came and its quit request is unread
} signals;

// Held by whichever thread ends the process, and never released: once the
// watcher has begun to stop the run, a script that ends normally (say because
// its external program was killed) waits for the watcher's exit instead.
std::mutex exitClaim;

// Runs in the signal handler: async-signal-safe calls only.
void OnStopSignal(int sig) {
    const int savedErrno = errno;
    if (!signals.quitRequested) {
        signals.quitRequested = 1;
        (sig == SIGINT ? signals.sdlInt : signals.sdlTerm)(sig);
        sigaction(sig, &signals.ours, nullptr);
    } else {
        const unsigned char number = static_cast<unsigned char>(sig);
        (void)!write(signals.pipe[1], &number, 1);
    }
    errno = savedErrno;
}

// The process ids of our own children: from /proc/self/task/*/children where
// the kernel offers them, else from every process's parent id.
std::vector<pid_t> ChildProcesses() {
    std::vector<pid_t> children;
    bool listed = false;
    if (DIR* tasks = opendir("/proc/self/task")) {
        while (dirent* task = readdir(tasks)) {
            if (task->d_name[0] == '.') continue;
            std::ifstream file(std::string("/proc/self/task/") + task->d_name + "/children");
            if (!file) continue;
            listed = true;
            for (pid_t pid; file >> pid;) children.push_back(pid);
        }
        closedir(tasks);
    }
    if (listed) return children;
    const pid_t self = getpid();
    if (DIR* proc = opendir("/proc")) {
        while (dirent* entry = readdir(proc)) {
            if (entry->d_name[0] < '1' || entry->d_name[0] > '9') continue;
            std::ifstream file(std::string("/proc/") + entry->d_name + "/stat");
            std::string stat((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
            // "pid (command) state ppid ...": the command may hold spaces and parentheses.
            const std::size_t close = stat.rfind(')');
            if (close == std::string::npos) continue;
            std::istringstream rest(stat.substr(close + 1));
            char state = 0;
            pid_t parent = 0;
            if (rest >> state >> parent && parent == self) children.push_back(std::atoi(entry->d_name));
        }
        closedir(proc);
    }
    return children;
}

// Flushes every C stream (standard output and the script's open files), but
// gives up after a second: the main thread may hold a stream's lock while
// blocked reading standard input.
void FlushAllStreams() {
    static std::atomic<bool> flushed{false};
    std::thread([] {
        std::fflush(nullptr);
        flushed = true;
    }).detach();
    for (int waited = 0; waited < 1000 && !flushed; waited += 5) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

void Watch() {
    unsigned char number = 0;
    for (;;) {
        const ssize_t n = read(signals.pipe[0], &number, 1);
        if (n == 1) break;
        if (n < 0 && errno == EINTR) continue;
        return;
    }
    exitClaim.lock();
    FlushAllStreams();
    // A message box under X11 is shown by a forked child that would outlive us.
    for (pid_t child : ChildProcesses()) kill(child, SIGKILL);
    _exit(128 + number);
}

}  // namespace

void ClaimExit() { exitClaim.lock(); }

void WatchStopSignals() {
    if (signals.pipe[0] >= 0) return;
    struct sigaction sdlInt {}, sdlTerm {};
    sigaction(SIGINT, nullptr, &sdlInt);
    sigaction(SIGTERM, nullptr, &sdlTerm);
    // Only where SDL put its handler: a signal ignored or left to its default
    // action (SDL_NO_SIGNAL_HANDLERS) stays so.
    auto isSdls = [](const struct sigaction& action) {
        return !(action.sa_flags & SA_SIGINFO) && action.sa_handler != SIG_DFL && action.sa_handler != SIG_IGN;
    };
    if (!isSdls(sdlInt) && !isSdls(sdlTerm)) return;
    if (pipe2(signals.pipe, O_CLOEXEC) != 0) return;

    // The watcher blocks both signals, so they are handled on another thread.
    sigset_t stopSignals, previous;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, &previous);
    std::thread(Watch).detach();
    pthread_sigmask(SIG_SETMASK, &previous, nullptr);

    signals.ours.sa_handler = OnStopSignal;
    sigemptyset(&signals.ours.sa_mask);
    signals.ours.sa_flags = SA_RESTART;
    if (isSdls(sdlInt)) {
        signals.sdlInt = sdlInt.sa_handler;
        sigaction(SIGINT, &signals.ours, nullptr);
    }
    if (isSdls(sdlTerm)) {
        signals.sdlTerm = sdlTerm.sa_handler;
        sigaction(SIGTERM, &signals.ours, nullptr);
    }
}

}  // namespace vorlune::platform
