#include "script/runner.hpp"

#include <poll.h>
#include <signal.h>
#include <sys/inotify.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <charconv>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <regex>

#include <SDL.h>

#include "core/paths.hpp"
#include "graphics/frame.hpp"
#include "platform/clock.hpp"
#include "platform/exit.hpp"
#include "platform/media.hpp"
#include "script/frame_check.hpp"
#include "script/run.hpp"
#include "script/scripted_input.hpp"

namespace vorlune::script {
namespace {

namespace fs = std::filesystem;

constexpr const char* kUsage =
    "Usage: vorlune-run game.lua [options] [-- script arguments]\n"
    "Runs a game script headless on a virtual clock, for tests and CI.\n"
    "\n"
    "  --frames N            end after N presented frames (default: when the script ends)\n"
    "  --input FILE          feed scripted input: one event per line, by frame number:\n"
    "                        \"30 key Right down\", \"42 key Right up\", \"50 text hello\",\n"
    "                        \"60 mouse 100 200\", \"61 click left\", \"62 button left down\",\n"
    "                        \"90 quit\"\n"
    "  --record FILE         play in a real window and write the input you give, frame by frame\n"
    "  --shots DIR           write frames as PNG (frame-000060.png): all, or those listed\n"
    "                        with --at 1,60,300\n"
    "  --expect DIR          compare the frames with golden PNGs in DIR (those listed with\n"
    "                        --at, else every frame-N.png there); write frame-N.actual.png and\n"
    "                        frame-N.diff.png for each mismatch; --tolerance K allows K\n"
    "                        differing pixels\n"
    "  --seed N              seed the random generator with N instead of the time\n"
    "  --real-time           keep wall-clock pacing (default: virtual clock)\n"
    "  --window              show the window while running (default: headless)\n"
    "  --watch               run again whenever the script or a file beside it changes\n"
    "  -h, --help            show this text\n"
    "\n"
    "Exit status: 0 when the script ended or the frame count was reached and every\n"
    "frame matched; 1 for a script error or any failure that shows a box; 2 for a\n"
    "frame mismatch; 3 for a usage error.\n";

// What a run has done so far, for the checks and the summary line.
struct RunnerState {
    RunnerOptions options;
    std::vector<uint32_t> expected;  // frames with a golden picture to compare
    uint32_t presented = 0;          // frames presented
    int compared = 0;                // frames compared with their golden picture
    std::vector<std::string> failures;  // one line per frame that failed its check
    std::chrono::steady_clock::time_point start = std::chrono::steady_clock::now();
} runner;

template <typename T>
bool Number(const std::string& text, T& value) {
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc() && end == text.data() + text.size();
}

std::string Absolute(const std::string& path) {
    return path.empty() ? path : fs::absolute(path).lexically_normal().string();
}

[[noreturn]] void UsageError(const std::string& message) {
    std::fprintf(stderr, "vorlune-run: %s\nTry vorlune-run --help.\n", message.c_str());
    std::exit(kRunUsage);
}

void Say(const std::string& message) { std::fprintf(stderr, "vorlune-run: %s\n", message.c_str()); }

bool Wanted(uint32_t frame) { return runner.options.at.empty() || runner.options.at.count(frame) > 0; }

void CheckFrame(SDL_Renderer* renderer, uint32_t frame) {
    const RunnerOptions& o = runner.options;
    const bool shoot = !o.shots.empty() && Wanted(frame);
    const bool compare = std::binary_search(runner.expected.begin(), runner.expected.end(), frame);
    if (!shoot && !compare) return;
    const Picture picture = ReadFrame(renderer);
    std::string error;
    if (shoot && !SavePng(picture, (fs::path(o.shots) / FrameFileName(frame)).string(), error)) Say(error);
    if (!compare) return;
    ++runner.compared;
    const fs::path golden = fs::path(o.expect) / FrameFileName(frame);
    Picture expected;
    if (!LoadPng(golden.string(), expected, error)) {
        runner.failures.push_back("frame " + std::to_string(frame) + ": " + error);
        return;
    }
    const Comparison c = Compare(picture, expected);
    const std::string stem = (fs::path(o.expect) / FrameFileName(frame)).replace_extension().string();
    if (c.differing <= o.tolerance) {
        // Pictures of an earlier mismatch would only mislead now.
        std::error_code ec;
        fs::remove(stem + ".actual.png", ec);
        fs::remove(stem + ".diff.png", ec);
        return;
    }
    SavePng(picture, stem + ".actual.png", error);
    SavePng(c.diff, stem + ".diff.png", error);
    std::string line = "frame " + std::to_string(frame) + ": " + std::to_string(c.differing) + " pixels differ";
    if (picture.width != expected.width || picture.height != expected.height) {
        line += " (" + std::to_string(picture.width) + "x" + std::to_string(picture.height) + " against " +
                std::to_string(expected.width) + "x" + std::to_string(expected.height) + ")";
    } else {
        line += ", the first at " + std::to_string(c.firstX) + "," + std::to_string(c.firstY);
    }
    runner.failures.push_back(line + "; see " + stem + ".diff.png");
}

void OnPresent(SDL_Renderer* renderer, graphics::PresentPhase phase) {
    if (phase == graphics::PresentPhase::Before) {
        CheckFrame(renderer, runner.presented + 1);
        return;
    }
    ++runner.presented;
    if (runner.options.frames && runner.presented >= *runner.options.frames) platform::ExitProcess(0);
    RecordFrame(runner.presented + 1);
    FeedInput(runner.presented + 1);
}

// Every exit ends here: golden frames never reached fail, the summary line
// goes to standard error, and a mismatch turns a clean end into status 2.
int Finish(int status) {
    FinishRecording();
    for (uint32_t frame : runner.expected) {
        if (frame > runner.presented) {
            runner.failures.push_back("frame " + std::to_string(frame) + " was never presented");
        }
    }
    for (const std::string& failure : runner.failures) Say(failure);
    const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - runner.start).count();
    char line[200];
    std::snprintf(line, sizeof line, "%u frames, %.3f s %s time, %.3f s wall time, %d frames compared, %zu failed",
                  runner.presented, platform::Ticks() / 1000.0, platform::VirtualClock() ? "virtual" : "clock", wall,
                  runner.compared, runner.failures.size());
    std::fflush(stdout);
    Say(line);
    return status == 0 && !runner.failures.empty() ? kRunMismatch : status;
}

// The frames to compare: those listed with --at, else every frame-N.png in
// the directory.
std::vector<uint32_t> ExpectedFrames(const RunnerOptions& o) {
    std::vector<uint32_t> frames(o.at.begin(), o.at.end());
    if (!frames.empty()) return frames;
    std::error_code ec;
    const std::regex name(R"(frame-(\d+)\.png)");
    for (const auto& entry : fs::directory_iterator(o.expect, ec)) {
        std::smatch m;
        const std::string file = entry.path().filename().string();
        uint32_t frame = 0;
        if (std::regex_match(file, m, name) && Number(m[1].str(), frame)) frames.push_back(frame);
    }
    if (ec) UsageError("cannot read the directory " + o.expect + ": " + ec.message());
    std::sort(frames.begin(), frames.end());
    return frames;
}

// --watch: runs the program again without --watch in a child process, and
// again whenever a file in the script's directory changes (a change while it
// runs stops that run first). Ends only by a signal.
[[noreturn]] void Watch(const std::vector<std::string>& args, const RunnerOptions& o, const std::string& self) {
    std::string directory = fs::path(Absolute(o.script)).parent_path().string();
    const int notify = inotify_init1(IN_CLOEXEC);
    if (notify < 0 || inotify_add_watch(notify, directory.c_str(), IN_CLOSE_WRITE | IN_MOVED_TO | IN_ATTRIB | IN_CREATE | IN_DELETE) < 0) {
        Say("cannot watch " + directory);
        std::exit(1);
    }
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(self.c_str()));
    for (const std::string& a : args) {
        if (a != "--watch") argv.push_back(const_cast<char*>(a.c_str()));
    }
    argv.push_back(nullptr);
    for (;;) {
        std::fflush(nullptr);
        pid_t child = fork();
        if (child == 0) {
            // The run ends with the watcher, however the watcher ends.
            prctl(PR_SET_PDEATHSIG, SIGKILL);
            execv(self.c_str(), argv.data());
            _exit(127);
        }
        bool running = child > 0;
        bool changed = false;
        while (!changed) {
            pollfd fd{notify, POLLIN, 0};
            if (poll(&fd, 1, 100) > 0) {
                // Take every event of this change (an editor writes several),
                // ignoring directories (a --shots directory beside the script).
                alignas(inotify_event) char buffer[8192];
                do {
                    ssize_t n = read(notify, buffer, sizeof buffer);
                    for (ssize_t at = 0; at < n;) {
                        const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
                        if (!(event->mask & IN_ISDIR)) changed = true;
                        at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
                    }
                } while (poll(&fd, 1, 50) > 0);
            }
            int status = 0;
            if (running && waitpid(child, &status, WNOHANG) == child) {
                running = false;
                Say("waiting for a change beside " + o.script + " (Ctrl-C ends)");
            }
        }
        if (running) {
            kill(child, SIGKILL);
            waitpid(child, nullptr, 0);
        }
        Say("a file changed: running " + o.script + " again");
    }
}

}  // namespace

std::optional<RunnerOptions> ParseRunnerOptions(const std::vector<std::string>& args, std::string& error) {
    RunnerOptions o;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto value = [&](std::string& out) {
            if (i + 1 >= args.size()) {
                error = a + " needs a value";
                return false;
            }
            out = args[++i];
            return true;
        };
        std::string v;
        if (a == "--") {
            o.scriptArgs.assign(args.begin() + static_cast<std::ptrdiff_t>(i) + 1, args.end());
            break;
        } else if (a == "-h" || a == "--help") {
            o.help = true;
        } else if (a == "--real-time") {
            o.realTime = true;
        } else if (a == "--window") {
            o.window = true;
        } else if (a == "--watch") {
            o.watch = true;
        } else if (a == "--frames" || a == "--seed") {
            if (!value(v)) return std::nullopt;
            uint32_t n = 0;
            if (!Number(v, n) || (a == "--frames" && n == 0)) {
                error = a + " takes a whole number" + (a == "--frames" ? " from 1" : "") + ", not \"" + v + "\"";
                return std::nullopt;
            }
            (a == "--frames" ? o.frames : o.seed) = n;
        } else if (a == "--tolerance") {
            if (!value(v)) return std::nullopt;
            if (!Number(v, o.tolerance) || o.tolerance < 0) {
                error = "--tolerance takes a pixel count, not \"" + v + "\"";
                return std::nullopt;
            }
        } else if (a == "--at") {
            if (!value(v)) return std::nullopt;
            std::size_t start = 0;
            while (start <= v.size()) {
                std::size_t comma = v.find(',', start);
                if (comma == std::string::npos) comma = v.size();
                uint32_t frame = 0;
                if (!Number(v.substr(start, comma - start), frame) || frame == 0) {
                    error = "--at takes frame numbers from 1 separated by commas, not \"" + v + "\"";
                    return std::nullopt;
                }
                o.at.insert(frame);
                start = comma + 1;
            }
        } else if (a == "--input" || a == "--record" || a == "--shots" || a == "--expect") {
            if (!value(v)) return std::nullopt;
            (a == "--input" ? o.input : a == "--record" ? o.record : a == "--shots" ? o.shots : o.expect) = v;
        } else if (a.size() > 1 && a[0] == '-') {
            error = "unknown option " + a;
            return std::nullopt;
        } else if (o.script.empty()) {
            o.script = a;
        } else {
            error = "one script only (script arguments go after --): " + a;
            return std::nullopt;
        }
    }
    if (o.help) return o;
    if (o.script.empty()) error = "no script given";
    else if (!o.at.empty() && o.shots.empty() && o.expect.empty()) error = "--at needs --shots or --expect";
    else if (o.tolerance > 0 && o.expect.empty()) error = "--tolerance needs --expect";
    else if (!o.record.empty() && !o.input.empty()) error = "--record and --input do not go together";
    return error.empty() ? std::optional(o) : std::nullopt;
}

int RunnerMain(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    std::string error;
    std::optional<RunnerOptions> parsed = ParseRunnerOptions(args, error);
    if (!parsed) UsageError(error);
    RunnerOptions& o = *parsed;
    if (o.help) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    if (o.watch) Watch(args, o, core::OwnExecutableFile(argv[0]));

    // The script's directory becomes the working directory: take every other
    // path as given from here.
    for (std::string* path : {&o.input, &o.record, &o.shots, &o.expect}) *path = Absolute(*path);
    if (!o.input.empty() && !LoadInput(o.input, error)) UsageError(error);
    if (!o.shots.empty()) {
        std::error_code ec;
        fs::create_directories(o.shots, ec);
        if (ec) UsageError("cannot make the directory " + o.shots + ": " + ec.message());
    }
    if (!o.expect.empty()) runner.expected = ExpectedFrames(o);
    runner.options = o;

    // Headless unless a person is to see the window or play.
    const bool visible = o.window || !o.record.empty();
    if (!visible) {
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        setenv("SDL_RENDER_DRIVER", "software", 1);
        setenv("SDL_AUDIODRIVER", "dummy", 1);
    }
    platform::StartMedia();
    platform::SetBoxEndingStatus(1);
    platform::SetExitFilter(Finish);
    graphics::SetPresentObserver(OnPresent);
    // A person recording plays in real time.
    if (!o.realTime && o.record.empty()) platform::UseVirtualClock(0);
    if (!o.record.empty() && !StartRecording(o.record, error)) UsageError(error);
    FeedInput(1);

    std::vector<char*> hostArgs = {argv[0], const_cast<char*>(o.script.c_str())};
    for (std::string& a : o.scriptArgs) hostArgs.push_back(a.data());
    hostArgs.push_back(nullptr);
    RunHost(static_cast<int>(hostArgs.size()) - 1, hostArgs.data(), o.seed);
}

}  // namespace vorlune::script
