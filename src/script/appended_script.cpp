#include "script/appended_script.hpp"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "core/paths.hpp"
#include "platform/exit.hpp"

namespace vorlune::script {
namespace {

constexpr uint16_t kKeyStart = 0x4B1D;
constexpr char kSymbols[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

int SymbolValue(unsigned char ch) {
    if (ch >= 'A' && ch <= 'Z') return ch - 'A';
    if (ch >= 'a' && ch <= 'z') return ch - 'a' + 26;
    if (ch >= '0' && ch <= '9') return ch - '0' + 52;
    if (ch == '+') return 62;
    if (ch == '/') return 63;
    return 0;  // anything else, '=' included, counts as symbol 0
}

uint16_t NextKey(uint16_t key, unsigned char stored) {
    return static_cast<uint16_t>((static_cast<uint32_t>(stored + key) * 41737u + 13963u) & 0xFFFFu);
}

bool IsBlank(unsigned char ch) { return ch <= 32; }

std::string_view Trim(std::string_view s) {
    while (!s.empty() && IsBlank(static_cast<unsigned char>(s.front()))) s.remove_prefix(1);
    while (!s.empty() && IsBlank(static_cast<unsigned char>(s.back()))) s.remove_suffix(1);
    return s;
}

}  // namespace

std::string DecodeScriptLine(std::string_view stored) {
    std::string bytes;
    bytes.reserve(stored.size() * 3 / 4 + 3);
    for (std::size_t start = 0; start < stored.size(); start += 4) {
        std::size_t k = std::min<std::size_t>(4, stored.size() - start);
        uint32_t v = 0;
        for (std::size_t j = 0; j < k; ++j) {
            v |= static_cast<uint32_t>(SymbolValue(static_cast<unsigned char>(stored[start + j]))) << (6 * j);
        }
        for (std::size_t j = 0; j + 1 < k; ++j) bytes.push_back(static_cast<char>((v >> (8 * j)) & 0xFF));
    }
    // The running count is 16 bits wide: only the first (length mod 65536)
    // bytes are unscrambled.
    std::size_t count = bytes.size() % 65536;
    uint16_t key = kKeyStart;
    for (std::size_t i = 0; i < count; ++i) {
        auto c = static_cast<unsigned char>(bytes[i]);
        bytes[i] = static_cast<char>(c ^ (key >> 8));
        key = NextKey(key, c);
    }
    return bytes;
}

std::string EncodeScriptLine(std::string_view line) {
    // The decoder's running count is 16 bits wide and unscrambles only the
    // first (length mod 65536) bytes; leave the rest as they are to match.
    std::string scrambled(line);
    std::size_t count = line.size() % 65536;
    uint16_t key = kKeyStart;
    for (std::size_t i = 0; i < count; ++i) {
        auto c = static_cast<unsigned char>(static_cast<unsigned char>(line[i]) ^ (key >> 8));
        scrambled[i] = static_cast<char>(c);
        key = NextKey(key, c);
    }
    std::string out;
    out.reserve((scrambled.size() + 2) / 3 * 4);
    for (std::size_t start = 0; start < scrambled.size(); start += 3) {
        std::size_t n = std::min<std::size_t>(3, scrambled.size() - start);
        uint32_t v = 0;
        for (std::size_t j = 0; j < n; ++j) v |= static_cast<uint32_t>(static_cast<unsigned char>(scrambled[start + j])) << (8 * j);
        for (std::size_t j = 0; j < n + 1; ++j) out.push_back(kSymbols[(v >> (6 * j)) & 63]);
    }
    return out;
}

std::string EncodeScript(std::string_view script) {
    std::string out;
    std::size_t pos = 0;
    while (pos < script.size()) {
        std::size_t lf = script.find('\n', pos);
        std::size_t end = (lf == std::string_view::npos) ? script.size() : lf;
        std::string_view line = script.substr(pos, end - pos);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        out += EncodeScriptLine(line);
        out += '\n';
        pos = (lf == std::string_view::npos) ? script.size() : lf + 1;
    }
    return out;
}

std::string MakeTrailer(int64_t offset) {
    std::string t(kTrailerMarker);
    t += std::to_string(offset);
    t.resize(kTrailerSize, ' ');
    return t;
}

std::optional<std::string> TrailerOffsetText(std::string_view trailer) {
    if (trailer.find(kTrailerMarker) == std::string_view::npos) return std::nullopt;
    std::string_view last = trailer.size() > 12 ? trailer.substr(trailer.size() - 12) : trailer;
    return std::string(Trim(last));
}

std::optional<int64_t> ParseInteger(std::string_view text) {
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    if (i == text.size()) return std::nullopt;
    uint64_t value = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9') return std::nullopt;
        value = value * 10 + static_cast<uint64_t>(text[i] - '0');
        if (value > (uint64_t{1} << 62)) return std::nullopt;  // far beyond any file offset
    }
    return negative ? -static_cast<int64_t>(value) : static_cast<int64_t>(value);
}

std::string BuildScriptText(std::string_view stored) {
    std::string text = " ";
    std::size_t pos = 0;
    for (std::size_t lf; (lf = stored.find('\n', pos)) != std::string_view::npos; pos = lf + 1) {
        text += DecodeScriptLine(Trim(stored.substr(pos, lf + 1 - pos)));
        text += '\n';
    }
    return text;  // a final line without LF is dropped
}

bool HasAppendedScript(const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return false;
    std::string trailer(kTrailerSize, '\0');
    std::size_t n = 0;
    if (std::fseek(file, -static_cast<long>(kTrailerSize), SEEK_END) == 0) n = std::fread(trailer.data(), 1, kTrailerSize, file);
    std::fclose(file);
    trailer.resize(n);
    return TrailerOffsetText(trailer).has_value();
}

AppendedScript ReadAppendedScript(const std::string& path) {
    AppendedScript result;
    std::string contents;
    if (int error = core::ReadWholeFile(path, contents)) {
        platform::UnhandledError("Cannot read executable \"" + path + "\": " + std::strerror(error));
    }

    std::size_t size = contents.size();
    std::string_view all(contents);
    std::string_view trailer = all.substr(size >= kTrailerSize ? size - kTrailerSize : 0);
    auto offsetText = TrailerOffsetText(trailer);
    if (!offsetText) return result;
    result.found = true;
    auto offset = ParseInteger(*offsetText);
    if (!offset) platform::UnhandledError("\"" + *offsetText + "\" is an invalid integer");
    if (*offset <= 0 || size < kTrailerSize) return result;
    // The scan runs up to and including the first trailer byte.
    auto start = static_cast<std::size_t>(*offset);
    std::size_t end = size - kTrailerSize + 1;
    if (start < end) result.text = BuildScriptText(all.substr(start, end - start));
    return result;
}

}  // namespace vorlune::script
