// vorlune-run: runs a game script headless (by default) on a virtual clock,
// with scripted input, frames written as PNG or compared with golden ones,
// and an exit status a shell can use.
#pragma once

#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace vorlune::script {

inline constexpr int kRunMismatch = 2;  // exit status: a frame differs from its golden picture
inline constexpr int kRunUsage = 3;     // exit status: the command line or the input file is wrong

struct RunnerOptions {
    std::string script;                    // the game script
    std::vector<std::string> scriptArgs;   // after "--"
    std::optional<uint32_t> frames;        // end after this many presents
    std::string input;                     // scripted input file
    std::string record;                    // file the recorder writes
    std::string shots;                     // directory for frames as PNG
    std::set<uint32_t> at;                 // frames to write or compare; empty: all
    std::string expect;                    // directory of golden frames
    int64_t tolerance = 0;                 // differing pixels allowed per frame
    std::optional<uint32_t> seed;          // random seed instead of the time
    bool realTime = false;                 // SDL's clock instead of the virtual one
    bool window = false;                   // a real window instead of the dummy driver
    bool watch = false;                    // run again on every change beside the script
    bool help = false;                     // --help or -h
};

// The command line after the program name; nullopt with error set when it
// is wrong. Paths stay as given.
std::optional<RunnerOptions> ParseRunnerOptions(const std::vector<std::string>& args, std::string& error);

int RunnerMain(int argc, char** argv);   // the whole program; returns only through the process exit

}  // namespace vorlune::script
