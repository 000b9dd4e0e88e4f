#include "support/script_runner.hpp"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <stdexcept>

extern char** environ;

namespace vorlune::test {

TempDir::TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "vorlune-test-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
}

TempDir::~TempDir() {
    std::error_code ec;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all, std::filesystem::perm_options::add, ec);
    std::filesystem::remove_all(path_, ec);
}

void TempDir::Write(const std::string& name, const std::string& contents) const {
    std::filesystem::path file = path_ / name;
    std::filesystem::create_directories(file.parent_path());
    std::ofstream out(file, std::ios::binary);
    out << contents;
}

std::string TempDir::Read(const std::string& name) const {
    std::ifstream in(path_ / name, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

std::string FirstLine(const std::string& text) {
    std::size_t end = text.find('\n');
    return end == std::string::npos ? text : text.substr(0, end + 1);
}

std::string Traceback(const std::vector<std::string>& lines) {
    std::string text = "stack traceback:\n";
    for (const std::string& line : lines) text += "\t" + line + "\n";
    return text;
}

std::string VorluneExe() { return VORLUNE_EXE; }
std::string BindExe() { return VORLUNE_BIND_EXE; }
std::string RunnerExe() { return VORLUNE_RUN_EXE; }

RunResult RunProgram(const std::vector<std::string>& argv, const std::filesystem::path& cwd, const RunOptions& options) {
    int outPipe[2], errPipe[2], inPipe[2];
    if (pipe(outPipe) || pipe(errPipe) || pipe(inPipe)) throw std::runtime_error("pipe failed");
    pid_t pid = fork();
    if (pid < 0) throw std::runtime_error("fork failed");
    if (pid == 0) {
        dup2(inPipe[0], 0);
        dup2(outPipe[1], 1);
        dup2(errPipe[1], 2);
        for (int fd : {outPipe[0], outPipe[1], errPipe[0], errPipe[1], inPipe[0], inPipe[1]}) close(fd);
        if (chdir(cwd.c_str()) != 0) _exit(126);
        // A test started in the background may inherit ignored signals.
        signal(SIGINT, SIG_DFL);
        signal(SIGTERM, SIG_DFL);
        unsetenv("DISPLAY");
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        setenv("SDL_RENDER_DRIVER", "software", 1);
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        if (options.saveFrames) setenv("SDL_VIDEO_DUMMY_SAVE_FRAMES", "1", 1);
        for (const auto& [name, value] : options.env) {
            if (value.empty()) unsetenv(name.c_str());
            else setenv(name.c_str(), value.c_str(), 1);
        }
        std::vector<char*> args;
        for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
        args.push_back(nullptr);
        execvp(args[0], args.data());
        _exit(127);
    }
    close(outPipe[1]);
    close(errPipe[1]);
    close(inPipe[0]);
    // Feed standard input, then close it so the program sees its end.
    signal(SIGPIPE, SIG_IGN);
    std::size_t written = 0;
    while (written < options.stdinText.size()) {
        ssize_t n = write(inPipe[1], options.stdinText.data() + written, options.stdinText.size() - written);
        if (n <= 0) break;
        written += static_cast<std::size_t>(n);
    }
    close(inPipe[1]);

    RunResult result;
    pollfd fds[2] = {{outPipe[0], POLLIN, 0}, {errPipe[0], POLLIN, 0}};
    std::string* sinks[2] = {&result.out, &result.err};
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(options.timeoutSeconds);
    int open = 2;
    bool killed = false;
    bool signalled = options.signals.empty();
    while (open > 0) {
        if (!signalled && result.out.find(options.signalAfter) != std::string::npos) {
            signalled = true;
            for (int sig : options.signals) {
                kill(pid, sig);
                usleep(200 * 1000);
            }
        }
        int left = static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                        deadline - std::chrono::steady_clock::now()).count());
        if (left <= 0) {
            kill(pid, SIGKILL);
            killed = true;
            break;
        }
        if (poll(fds, 2, left) < 0) break;
        for (int i = 0; i < 2; ++i) {
            if (fds[i].fd < 0 || !(fds[i].revents & (POLLIN | POLLHUP | POLLERR))) continue;
            char buffer[65536];
            ssize_t n = read(fds[i].fd, buffer, sizeof buffer);
            if (n > 0) {
                sinks[i]->append(buffer, static_cast<std::size_t>(n));
            } else {
                close(fds[i].fd);
                fds[i].fd = -1;
                --open;
            }
        }
    }
    for (auto& f : fds) if (f.fd >= 0) close(f.fd);
    int status = 0;
    waitpid(pid, &status, 0);
    if (killed) result.err += "\n[killed: timeout]\n";
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return result;
}

RunResult RunScript(const TempDir& dir, const std::string& source, const RunOptions& options) {
    dir.Write("game.lua", source);
    std::vector<std::string> argv = {VorluneExe(), "game.lua"};
    argv.insert(argv.end(), options.args.begin(), options.args.end());
    return RunProgram(argv, dir.path(), options);
}

Image LoadBmp(const std::filesystem::path& file) {
    Image image;
    SDL_Surface* loaded = SDL_LoadBMP(file.c_str());
    if (!loaded) return image;
    SDL_Surface* rgba = SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_RGBA8888, 0);
    SDL_FreeSurface(loaded);
    if (!rgba) return image;
    image.width = rgba->w;
    image.height = rgba->h;
    image.pixels.resize(static_cast<std::size_t>(rgba->w) * rgba->h);
    for (int y = 0; y < rgba->h; ++y) {
        std::memcpy(&image.pixels[static_cast<std::size_t>(y) * rgba->w],
                    static_cast<const char*>(rgba->pixels) + y * rgba->pitch, static_cast<std::size_t>(rgba->w) * 4);
    }
    SDL_FreeSurface(rgba);
    return image;
}

std::vector<std::filesystem::path> SavedFrames(const std::filesystem::path& dir) {
    std::vector<std::filesystem::path> frames;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        std::string name = entry.path().filename().string();
        if (name.rfind("SDL_window", 0) == 0 && entry.path().extension() == ".bmp") frames.push_back(entry.path());
    }
    std::sort(frames.begin(), frames.end());
    return frames;
}

}  // namespace vorlune::test
