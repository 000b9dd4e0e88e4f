#include "system/process.hpp"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "platform/exit.hpp"

extern char** environ;

namespace vorlune::system {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

bool IsFile(const std::string& path) {
    struct stat info;
    return stat(path.c_str(), &info) == 0 && !S_ISDIR(info.st_mode);
}

// The three pipes of a child, each end moved above the standard descriptors
// and marked close-on-exec, so the child keeps only what is dup'ed onto 0-2.
struct ChildPipes {
    int in[2] = {-1, -1};
    int out[2] = {-1, -1};
    int err[2] = {-1, -1};
};

// Makes a close-on-exec pipe whose ends are at least 3; errno on failure.
int MakePipe(int ends[2]) {
    int raw[2];
    if (pipe2(raw, O_CLOEXEC) != 0) return errno;
    for (int i = 0; i < 2; ++i) {
        if (raw[i] > 2) {
            ends[i] = raw[i];
            continue;
        }
        ends[i] = fcntl(raw[i], F_DUPFD_CLOEXEC, 3);
        int error = errno;
        close(raw[i]);
        if (ends[i] < 0) return error;
    }
    return 0;
}

void CloseEnd(int& fd) {
    if (fd >= 0) close(fd);
    fd = -1;
}

void CloseAll(ChildPipes& pipes) {
    for (int* ends : {pipes.in, pipes.out, pipes.err}) {
        CloseEnd(ends[0]);
        CloseEnd(ends[1]);
    }
}

// Starts path with argv on the pipes; returns 0 or the system error number,
// including the error of the exec itself (the spawn reports it back).
int Spawn(const std::string& path, const std::vector<std::string>& words, ChildPipes& pipes, pid_t& pid) {
    std::vector<char*> argv;
    for (const std::string& w : words) argv.push_back(const_cast<char*>(w.c_str()));
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawnattr_t attributes;
    posix_spawn_file_actions_init(&actions);
    posix_spawnattr_init(&attributes);
    posix_spawn_file_actions_adddup2(&actions, pipes.in[0], 0);
    posix_spawn_file_actions_adddup2(&actions, pipes.out[1], 1);
    posix_spawn_file_actions_adddup2(&actions, pipes.err[1], 2);
    // The program starts with every signal at its default and none blocked,
    // whatever the interpreter ignores (SIGPIPE, say).
    sigset_t all, none;
    sigfillset(&all);
    sigemptyset(&none);
    posix_spawnattr_setsigdefault(&attributes, &all);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK);
    int error = posix_spawn(&pid, path.c_str(), &actions, &attributes, argv.data(), environ);
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    return error;
}

// Reads standard output and standard error together until both are closed,
// so a program filling either pipe never blocks. Standard error is dropped.
std::string Drain(int outFd, int errFd) {
    std::string output;
    pollfd fds[2] = {{outFd, POLLIN, 0}, {errFd, POLLIN, 0}};
    int open = 2;
    char buffer[65536];
    while (open > 0) {
        if (poll(fds, 2, -1) < 0) {
            if (errno == EINTR) continue;
            break;
        }
        for (int i = 0; i < 2; ++i) {
            if (fds[i].fd < 0 || fds[i].revents == 0) continue;
            ssize_t n = read(fds[i].fd, buffer, sizeof buffer);
            if (n > 0) {
                if (i == 0) output.append(buffer, static_cast<std::size_t>(n));
            } else if (n == 0 || errno != EINTR) {
                fds[i].fd = -1;  // end of output (or a broken pipe): stop watching it
                --open;
            }
        }
    }
    return output;
}

}  // namespace

std::vector<std::string> SplitCommandLine(const std::string& commandLine) {
    std::vector<std::string> words;
    std::string word;
    bool inWord = false;  // a quoted empty word ('' or "") is still a word
    char quote = 0;       // the quote character of an open quoted part
    for (char c : commandLine) {
        if (quote) {
            if (c == quote) quote = 0;
            else word += c;
        } else if (c == '"' || c == '\'') {
            quote = c;
            inWord = true;
        } else if (IsBlank(c)) {
            if (inWord) words.push_back(word);
            word.clear();
            inWord = false;
        } else {
            word += c;
            inWord = true;
        }
    }
    if (inWord) words.push_back(word);  // an unclosed quote runs to the end
    return words;
}

std::string FindExecutable(const std::string& program, const std::string& searchPath) {
    if (program.empty()) return "";
    if (IsFile(program)) return program;
    std::size_t start = 0;
    while (start <= searchPath.size()) {
        std::size_t colon = searchPath.find(':', start);
        if (colon == std::string::npos) colon = searchPath.size();
        std::string directory = searchPath.substr(start, colon - start);
        if (directory.empty()) directory = ".";  // an empty entry is the working directory
        std::string candidate = directory + (directory.back() == '/' ? "" : "/") + program;
        if (IsFile(candidate) && access(candidate.c_str(), X_OK) == 0) return candidate;
        start = colon + 1;
    }
    return "";
}

std::string JoinOutputLines(const std::string& output) {
    std::string text;
    text.reserve(output.size() + 1);
    std::size_t i = 0;
    while (i < output.size()) {
        std::size_t end = output.find_first_of("\r\n", i);
        if (end == std::string::npos) end = output.size();
        text.append(output, i, end - i);
        text += '\n';
        i = end;
        if (i < output.size()) {
            if (output[i] == '\r' && i + 1 < output.size() && output[i + 1] == '\n') ++i;
            ++i;
        }
    }
    return text;
}

std::string System(const std::string& commandLine) {
    std::vector<std::string> words = SplitCommandLine(commandLine);
    if (words.empty()) platform::UnhandledError("Cannot execute empty command-line");
    const char* searchPath = std::getenv("PATH");
    std::string path = FindExecutable(words[0], searchPath ? searchPath : "");
    if (path.empty()) platform::UnhandledError("Executable not found: \"" + words[0] + "\"");

    auto fail = [&](int error) {
        platform::UnhandledError("Failed to execute \"" + path + "\", error code: " + std::to_string(error));
    };
    ChildPipes pipes;
    for (int* ends : {pipes.in, pipes.out, pipes.err}) {
        if (int error = MakePipe(ends)) fail(error);
    }
    pid_t pid = 0;
    if (int error = Spawn(path, words, pipes, pid)) fail(error);

    // Keep only our ends; closing the input at once lets a program that
    // reads its standard input see the end of it.
    CloseEnd(pipes.in[0]);
    CloseEnd(pipes.in[1]);
    CloseEnd(pipes.out[1]);
    CloseEnd(pipes.err[1]);
    std::string output = Drain(pipes.out[0], pipes.err[0]);
    CloseAll(pipes);
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    return JoinOutputLines(output);
}

}  // namespace vorlune::system
