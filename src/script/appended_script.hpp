// Scripts appended to the interpreter's executable.
//
// Layout: interpreter bytes, then one stored line per script line (each ended
// by LF), then a 20-byte trailer: the marker "vrlnbind" and the start offset
// of the stored lines as decimal digits, padded with spaces. A stored line is
// the script line scrambled with a 16-bit running key and written over the 64
// symbols A-Z a-z 0-9 + /, packed least significant first, without padding.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vorlune::script {

inline constexpr std::string_view kTrailerMarker = "vrlnbind";
inline constexpr std::size_t kTrailerSize = 20;

std::string DecodeScriptLine(std::string_view stored);   // symbols -> bytes -> unscrambled (first len mod 65536 bytes)
std::string EncodeScriptLine(std::string_view line);     // exact inverse of DecodeScriptLine
std::string EncodeScript(std::string_view script);       // every line encoded and ended by LF (CR LF input accepted)
std::string MakeTrailer(int64_t offset);                 // "vrlnbind" + offset, space padded to 20 bytes

// Trailer test: nullopt when the marker is absent, else the offset text (the
// last 12 bytes with bytes 0..32 trimmed at both ends).
std::optional<std::string> TrailerOffsetText(std::string_view trailer);
std::optional<int64_t> ParseInteger(std::string_view text);  // signed decimal integer, nullopt when invalid

// Rebuilds the script text from the bytes between the start offset and the
// first trailer byte (inclusive): " " + each decoded line + LF; bytes after
// the last LF are dropped.
std::string BuildScriptText(std::string_view stored);

struct AppendedScript {
    bool found = false;
    std::string text = " ";
};

// Whether the executable at path ends in a trailer; reads those 20 bytes only.
bool HasAppendedScript(const std::string& path);

// Reads the appended script of the executable at path. A file that cannot be
// read or an offset that is not an integer ends the run (unhandled error).
AppendedScript ReadAppendedScript(const std::string& path);

}  // namespace vorlune::script
