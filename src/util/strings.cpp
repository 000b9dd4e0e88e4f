#include "util/strings.hpp"

#include <locale.h>
#include <stdlib.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <ctime>

namespace vorlune::util {
namespace {

constexpr std::size_t kMaxNumberText = 255;  // longer texts are not numbers

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Accepts exactly: [+|-] digits [. digits] [(e|E) [+|-] digit digits...],
// with at least one digit before or after the point.
bool IsDecimalNumber(std::string_view text) {
    std::size_t pos = 0;
    const std::size_t end = text.size();
    auto digits = [&] {
        std::size_t first = pos;
        while (pos < end && IsDigit(text[pos])) ++pos;
        return pos - first;
    };
    if (pos < end && (text[pos] == '+' || text[pos] == '-')) ++pos;
    std::size_t mantissaDigits = digits();
    if (pos < end && text[pos] == '.') {
        ++pos;
        mantissaDigits += digits();
    }
    if (mantissaDigits == 0) return false;
    if (pos < end && (text[pos] == 'e' || text[pos] == 'E')) {
        ++pos;
        if (pos < end && (text[pos] == '+' || text[pos] == '-')) ++pos;
        if (digits() == 0) return false;
    }
    return pos == end;
}

// The "C" locale, so that parsing ignores the process's LC_NUMERIC.
locale_t ClassicLocale() {
    static const locale_t classic = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return classic;
}

// Long doubles at or beyond this magnitude round to infinity as a double.
constexpr long double kDoubleOverflow = 0x1p1024L - 0x1p970L;

bool IsControlOrSpace(char c) { return static_cast<unsigned char>(c) <= 32; }

// S(s, start, count): count bytes after the first start - 1 (at least 0);
// the count is cut to what the string holds.
std::string Substring(std::string_view s, int64_t start, int64_t count) {
    const int64_t length = static_cast<int64_t>(s.size());
    const int64_t skip = std::max<int64_t>(start - 1, 0);
    if (count > length || skip + count > length) count = length - skip;
    if (count <= 0) return {};
    return std::string(s.substr(static_cast<std::size_t>(skip), static_cast<std::size_t>(count)));
}

using CaseTable = std::array<unsigned char, 256>;

// ISO 8859-1: a-z and 0xE0-0xFE (except 0xF7) move down by 0x20; 0xFF
// becomes 'Y'. 0xDF has no single-byte capital and stays.
constexpr CaseTable MakeUpperTable() {
    CaseTable table{};
    for (int b = 0; b < 256; ++b) {
        int mapped = b;
        if ((b >= 'a' && b <= 'z') || (b >= 0xE0 && b <= 0xFE && b != 0xF7)) mapped = b - 0x20;
        if (b == 0xFF) mapped = 'Y';
        table[b] = static_cast<unsigned char>(mapped);
    }
    return table;
}

// ISO 8859-1: A-Z and 0xC0-0xDE (except 0xD7) move up by 0x20.
constexpr CaseTable MakeLowerTable() {
    CaseTable table{};
    for (int b = 0; b < 256; ++b) {
        int mapped = b;
        if ((b >= 'A' && b <= 'Z') || (b >= 0xC0 && b <= 0xDE && b != 0xD7)) mapped = b + 0x20;
        table[b] = static_cast<unsigned char>(mapped);
    }
    return table;
}

constexpr CaseTable kUpper = MakeUpperTable();
constexpr CaseTable kLower = MakeLowerTable();

std::string MapBytes(std::string_view s, const CaseTable& table) {
    std::string result(s);
    for (char& c : result) c = static_cast<char>(table[static_cast<unsigned char>(c)]);
    return result;
}

std::tm LocalNow() {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return local;
}

}  // namespace

std::string Chr(int32_t code) { return std::string(1, static_cast<char>(static_cast<uint32_t>(code) & 0xFFu)); }

int32_t Asc(std::string_view s) { return s.empty() ? 0 : static_cast<unsigned char>(s[0]); }

double Val(std::string_view s) {
    if (s.find(',') != std::string_view::npos) return 0.0;  // thousands separators are refused
    std::size_t first = 0;
    std::size_t last = s.size();
    while (first < last && IsControlOrSpace(s[first])) ++first;
    while (last > first && IsControlOrSpace(s[last - 1])) --last;
    if (last - first > kMaxNumberText) return 0.0;
    const std::string text(s.substr(first, last - first));  // zero-terminated for the parser
    if (!IsDecimalNumber(text)) return 0.0;
    // Parsed in extended precision; a value beyond the double range fails.
    long double value = strtold_l(text.c_str(), nullptr, ClassicLocale());
    if (!(std::fabs(value) < kDoubleOverflow)) return 0.0;
    return static_cast<double>(value);
}

std::string Left(std::string_view s, int32_t count) { return Substring(s, 1, count); }

std::string Right(std::string_view s, int32_t count) {
    const int64_t length = static_cast<int64_t>(s.size());
    const int64_t k = std::min<int64_t>(count, length);
    return Substring(s, length + 1 - k, k);
}

std::string Mid(std::string_view s, int32_t start, int32_t count) { return Substring(s, start, count); }

std::string Insert(std::string_view s1, std::string_view s2, int32_t start) {
    if (s2.empty()) return std::string(s1);
    const int64_t length = static_cast<int64_t>(s1.size());
    const int64_t at = std::clamp<int64_t>(start, 1, length + 1) - 1;
    std::string result(s1);
    result.insert(static_cast<std::size_t>(at), s2);
    return result;
}

int32_t Len(std::string_view s) { return static_cast<int32_t>(s.size()); }

std::string Uppercase(std::string_view s) { return MapBytes(s, kUpper); }

std::string Lowercase(std::string_view s) { return MapBytes(s, kLower); }

std::string Time() {
    std::tm t = LocalNow();
    char text[16];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d", t.tm_hour, t.tm_min, t.tm_sec);
    return text;
}

std::string Date() {
    std::tm t = LocalNow();
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", t.tm_year + 1900, t.tm_mon + 1, t.tm_mday);
    return text;
}

}  // namespace vorlune::util
