// vorlune-bind: turns a script into a standalone game executable, the
// interpreter's bytes followed by the encoded script and its trailer.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <initializer_list>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "core/paths.hpp"
#include "script/appended_script.hpp"
#include "script/script_loader.hpp"
#include "util/elf_strip.hpp"

namespace {

constexpr const char* kUsage =
    "Usage: vorlune-bind SCRIPT.lua -o OUTPUT [--interpreter PATH] [--no-strip]\n"
    "\n"
    "Writes OUTPUT: a copy of the interpreter that runs SCRIPT.lua when started,\n"
    "with or without arguments. The script's lines are stored encoded after the\n"
    "interpreter's bytes; files the script loads are found beside OUTPUT.\n"
    "The copy leaves out the interpreter's debug information and symbol tables.\n"
    "\n"
    "Options:\n"
    "  -o OUTPUT            the executable to write (mode 0755)\n"
    "  --interpreter PATH   the interpreter to copy (default: vorlune beside this program)\n"
    "  --no-strip           copy the interpreter whole, debug information included\n"
    "  --help               show this text\n";

std::string DefaultInterpreter(const char* argument0) {
    std::string self = vorlune::core::OwnExecutableFile(argument0);
    std::size_t slash = self.rfind('/');
    return (slash == std::string::npos ? std::string() : self.substr(0, slash + 1)) + "vorlune";
}

int Fail(const std::string& message) {
    std::cerr << "vorlune-bind: " << message << "\n";
    return 1;
}

// Writes the parts to path one after the other, as an executable; on failure
// returns the reason.
std::optional<std::string> WriteExecutable(const std::string& path, std::initializer_list<std::string_view> parts) {
    int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0755);
    if (fd < 0) return std::strerror(errno);
    for (std::string_view part : parts) {
        while (!part.empty()) {
            ssize_t n = write(fd, part.data(), part.size());
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) {
                std::string reason = n < 0 ? std::strerror(errno) : "nothing written";
                close(fd);
                return reason;
            }
            part.remove_prefix(static_cast<std::size_t>(n));
        }
    }
    // An existing file keeps its mode through open; make it executable too.
    if (fchmod(fd, 0755) != 0 || close(fd) != 0) return std::strerror(errno);
    return std::nullopt;
}

}  // namespace

int main(int argc, char** argv) {
    std::string script, output, interpreter;
    bool strip = true;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            std::cout << kUsage;
            return 0;
        } else if (arg == "--no-strip") {
            strip = false;
        } else if (arg == "-o" || arg == "--interpreter") {
            if (i + 1 >= argc) return Fail("option " + arg + " needs a value\n" + std::string(kUsage));
            (arg == "-o" ? output : interpreter) = argv[++i];
        } else if (!arg.empty() && arg[0] == '-') {
            return Fail("unknown option " + arg + "\n" + std::string(kUsage));
        } else if (script.empty()) {
            script = arg;
        } else {
            return Fail("more than one script given\n" + std::string(kUsage));
        }
    }
    if (script.empty() || output.empty()) return Fail(std::string("a script and -o OUTPUT are needed\n") + kUsage);
    if (interpreter.empty()) interpreter = DefaultInterpreter(argv[0]);

    std::string interpreterBytes, scriptBytes;
    if (vorlune::core::ReadWholeFile(interpreter, interpreterBytes) != 0) return Fail("cannot read interpreter " + interpreter);
    if (vorlune::core::ReadWholeFile(script, scriptBytes) != 0) return Fail("cannot read script " + script);

    if (strip) {
        std::optional<std::string> stripped = vorlune::util::StripUnloadedSections(interpreterBytes);
        if (!stripped) return Fail("cannot strip " + interpreter + ": not an ELF executable of this machine (--no-strip copies it whole)");
        interpreterBytes = std::move(*stripped);
    }

    // The file loader skips a byte-order mark and a '#' first line; an
    // appended script runs as a string, which skips neither: store the
    // script from where the file loader starts.
    std::string_view chunk(scriptBytes);
    std::string stored = vorlune::script::EncodeScript(chunk.substr(vorlune::script::ChunkStart(chunk)));
    std::string trailer = vorlune::script::MakeTrailer(static_cast<int64_t>(interpreterBytes.size()));
    if (auto reason = WriteExecutable(output, {interpreterBytes, stored, trailer})) {
        return Fail("cannot write " + output + ": " + *reason);
    }
    return 0;
}
