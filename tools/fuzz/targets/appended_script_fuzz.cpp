// libFuzzer target for the reader of scripts appended to the executable: the
// trailer test, the offset parser, the line decoder and the text rebuild take
// arbitrary bytes; encoding a line and decoding it again gives the line back.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "script/appended_script.hpp"

namespace {

void Check(bool ok, const char* what) {
    if (!ok) {
        std::fprintf(stderr, "appended_script_fuzz: %s\n", what);
        std::abort();
    }
}

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= 32; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    using namespace vorlune::script;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

    // Random bytes as the file tail: whatever the trailer holds, the offset
    // text is trimmed and parsing it never fails hard.
    const std::string_view tail = bytes.size() > kTrailerSize ? bytes.substr(bytes.size() - kTrailerSize) : bytes;
    if (const auto text = TrailerOffsetText(tail)) {
        Check(text->empty() || (!IsBlank(text->front()) && !IsBlank(text->back())), "offset text not trimmed");
        if (const auto offset = ParseInteger(*text)) {
            Check(ParseInteger(std::to_string(*offset)) == offset, "offset does not parse back");
        }
    }
    // The same bytes after a real marker reach the offset parser.
    std::string trailer = std::string(kTrailerMarker) + std::string(bytes.substr(0, 12));
    trailer.resize(kTrailerSize, ' ');
    Check(TrailerOffsetText(trailer).has_value(), "marker not found");
    (void)ParseInteger(bytes);

    // Random bytes as stored lines.
    const std::string text = BuildScriptText(bytes);
    Check(!text.empty() && text.front() == ' ', "script text does not start with a blank");
    (void)DecodeScriptLine(bytes);

    // Any line survives the round trip.
    Check(DecodeScriptLine(EncodeScriptLine(bytes)) == bytes, "encode/decode round trip changed the line");
    const std::string encoded = EncodeScriptLine(bytes);
    Check(encoded.find('\n') == std::string::npos, "an encoded line holds a line feed");
    return 0;
}
