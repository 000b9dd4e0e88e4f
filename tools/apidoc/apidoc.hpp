// The script function description (docs/api/functions.txt) and the files
// written from it: the reference, the language server annotations and the
// man pages.
#pragma once

#include "../generated_files.hpp"

#include <string>
#include <vector>

namespace vorlune::apidoc {

struct Param {
    std::string name;
    std::string type;  // integer, number, string, boolean, image, sprite, sound, music, or several joined by |
};

struct Function {
    std::string name;
    std::vector<Param> params;
    std::string result;      // result type, "" for none
    std::string brief;       // one line
    std::string usage;       // usage message, "" for functions without parameters
    std::string resultText;  // the function table's result column
    std::string text;        // reference text, shared by the functions of one heading
    int heading = 0;         // functions with the same number share one heading
    bool sharesRow = false;  // on the function table's row of the function before, when both match
};

struct Section {
    std::string title;
    std::string intro;  // text after the function table
    std::vector<Function> functions;
};

struct Description {
    std::string page;  // text above the first section
    std::vector<Section> sections;
    std::vector<std::string> errors;  // "line N: what is wrong"; empty when the file is well formed
};

Description ParseDescription(const std::string& text);              // parse; problems go to errors
std::vector<const Function*> AllFunctions(const Description& d);    // every function in reference order
std::string DefaultUsage(const Function& f);                        // "Usage: NAME (P1,P2,...)", "" without parameters

std::string WriteReference(const Description& d);                                   // docs/api.md
std::string WriteAnnotations(const Description& d, const std::string& version);      // share/meta/vorlune.lua
std::string WriteManPage(const Description& d, const std::string& pageTemplate,
                         const std::string& version);                                // expands @VERSION@ and @FUNCTIONS@

using tools::OutputFile;  // path relative to the source tree, and text

// Reads the description, the man page templates and the version from the
// source tree and returns every written file; problems go to errors.
std::vector<OutputFile> GenerateAll(const std::string& sourceDir, std::vector<std::string>* errors);

}  // namespace vorlune::apidoc
