// Executables without the parts only debuggers and linkers read.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vorlune::util {

// The ELF executable `image` without the sections that are not loaded at run
// time (debug information, symbol and string tables, comments): the loaded
// bytes stay as they are and are followed by a rebuilt section name table and
// section header table. nullopt when `image` is not a 32- or 64-bit ELF file
// in this machine's byte order, or its headers point outside it.
std::optional<std::string> StripUnloadedSections(std::string_view image);

}  // namespace vorlune::util
