// vorlune-bind: turns a script into a standalone game executable, the
// interpreter's bytes followed by the encoded script and its trailer.
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <utility>

#include "core/paths.hpp"
#include "script/appended_script.hpp"
#include "script/script_loader.hpp"

namespace {

constexpr const char* kUsage =
    "Usage: vorlune-bind SCRIPT.lua -o OUTPUT [--interpreter PATH]\n"
    "\n"
    "Writes OUTPUT: a copy of the interpreter that runs SCRIPT.lua when started,\n"
    "with or without arguments. The script's lines are stored encoded after the\n"
    "interpreter's bytes; files the script loads are found beside OUTPUT.\n"
    "\n"
    "Options:\n"
    "  -o OUTPUT            the executable to write (mode 0755)\n"
    "  --interpreter PATH   the interpreter to copy (default: vorlune beside this program)\n"
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

}  // namespace

int main(int argc, char** argv) {
    std::string script, output, interpreter;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            std::cout << kUsage;
            return 0;
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

    // The file loader skips a byte-order mark and a '#' first line; an
    // appended script runs as a string, which skips neither: store the
    // script from where the file loader starts.
    std::string_view chunk(scriptBytes);
    std::string stored = vorlune::script::EncodeScript(chunk.substr(vorlune::script::ChunkStart(chunk)));
    std::ofstream out(output, std::ios::binary | std::ios::trunc);
    if (!out) return Fail("cannot write " + output);
    out << interpreterBytes << stored
        << vorlune::script::MakeTrailer(static_cast<int64_t>(interpreterBytes.size()));
    out.close();
    if (!out) return Fail("cannot write " + output);
    if (chmod(output.c_str(), 0755) != 0) return Fail("cannot make " + output + " executable: " + std::strerror(errno));
    return 0;
}
