// Runs the real interpreter (or any program) headless and captures what it
// does: exit status, standard output and standard error, and the frames SDL's
// dummy driver saves on every present.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace vorlune::test {

// A fresh directory under the system's temporary directory, removed again
// when the object goes.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }
    void Write(const std::string& name, const std::string& contents) const;  // creates parent directories
    std::string Read(const std::string& name) const;

private:
    std::filesystem::path path_;
};

struct RunOptions {
    std::vector<std::string> args;                              // after the script path
    std::vector<std::pair<std::string, std::string>> env;       // set (or, with an empty value, unset) on top of the headless drivers
    bool saveFrames = false;                                    // SDL_VIDEO_DUMMY_SAVE_FRAMES=1
    std::string stdinText;                                      // written to the program's standard input
    int timeoutSeconds = 60;
    std::string signalAfter;                                    // once standard output holds this text...
    std::vector<int> signals;                                   // ...these signals are sent, 200 ms apart
};

struct RunResult {
    int status = -1;     // exit status; 128 + signal when killed
    std::string out;     // standard output
    std::string err;     // standard error
};

// Runs argv[0] with the remaining arguments in directory cwd.
RunResult RunProgram(const std::vector<std::string>& argv, const std::filesystem::path& cwd, const RunOptions& options = {});

// Writes source as game.lua into dir and runs `vorlune game.lua args...` there.
RunResult RunScript(const TempDir& dir, const std::string& source, const RunOptions& options = {});

std::string FirstLine(const std::string& text);                   // up to and including the first line end
std::string Traceback(const std::vector<std::string>& lines);     // "stack traceback:" and the lines, tab-indented

std::string VorluneExe();   // path of the interpreter under test
std::string BindExe();      // path of vorlune-bind
std::string RunnerExe();    // path of vorlune-run

// An RGBA picture: a frame saved by the dummy driver or pixels read back.
struct Image {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;  // 0xRRGGBBAA
    uint32_t At(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

Image LoadBmp(const std::filesystem::path& file);                 // any BMP SDL can read
std::vector<std::filesystem::path> SavedFrames(const std::filesystem::path& dir);  // SDL_window*.bmp, in order
inline uint32_t Rgba(int r, int g, int b, int a = 255) {
    return (uint32_t(r) << 24) | (uint32_t(g) << 16) | (uint32_t(b) << 8) | uint32_t(a);
}

}  // namespace vorlune::test
