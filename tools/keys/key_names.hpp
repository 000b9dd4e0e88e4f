// Names for SDL's scancodes, as the vorlune.keys module gives them to scripts,
// and the files written from them.
#pragma once

#include "../generated_files.hpp"

#include <string>
#include <vector>

namespace vorlune::keynames {

struct KeyName {
    std::string name;     // the module's name for the key
    int scancode;
    std::string sdlName;  // SDL_GetScancodeName
};

std::vector<KeyName> ScancodeNames();  // every named scancode 0..511, in scancode order

using tools::OutputFile;  // path relative to the source tree, and text

std::vector<OutputFile> KeyFiles();  // the interpreter's table, the annotations and docs/keys.md

}  // namespace vorlune::keynames
