// libFuzzer target for the string functions of the script library: val,
// left, right, mid, insert, len, chr, asc and the case mappings, with the
// positions and counts taken from the input as the script would pass them.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "util/strings.hpp"

namespace {

void Check(bool ok, const char* what) {
    if (!ok) {
        std::fprintf(stderr, "strings_fuzz: %s\n", what);
        std::abort();
    }
}

int32_t TakeInt(std::string_view& in) {
    uint32_t v = 0;
    const std::size_t n = std::min<std::size_t>(4, in.size());
    std::memcpy(&v, in.data(), n);
    in.remove_prefix(n);
    return static_cast<int32_t>(v);
}

bool Contains(std::string_view s, std::string_view part) { return s.find(part) != std::string_view::npos; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    using namespace vorlune::util;
    std::string_view in(reinterpret_cast<const char*>(data), size);
    const int32_t a = TakeInt(in);
    const int32_t b = TakeInt(in);
    // The rest splits at its first zero byte into two strings, as scripts
    // cannot pass a zero byte through (it cuts the string).
    const std::size_t cut = in.find('\0');
    const std::string_view s1 = in.substr(0, cut);
    const std::string_view s2 = cut == std::string_view::npos ? std::string_view() : in.substr(cut + 1);

    (void)Val(s1);
    Check(Len(s1) == static_cast<int32_t>(s1.size()), "len");
    const std::string left = Left(s1, a);
    Check(left.size() <= s1.size() && s1.substr(0, left.size()) == left, "left is not a prefix");
    const std::string right = Right(s1, a);
    Check(right.size() <= s1.size() && s1.substr(s1.size() - right.size()) == right, "right is not a suffix");
    const std::string mid = Mid(s1, a, b);
    Check(Contains(s1, mid), "mid is not a part of the string");
    Check(b < 0 || mid.size() <= static_cast<std::size_t>(b), "mid longer than asked");
    const std::string inserted = Insert(s1, s2, a);
    Check(inserted.size() == s1.size() + s2.size() && Contains(inserted, s2), "insert lost bytes");
    Check(Uppercase(s1).size() == s1.size() && Lowercase(s1).size() == s1.size(), "case mapping changed the length");
    const std::string c = Chr(a);
    Check(c.size() == 1 && Asc(c) == (a & 0xFF), "chr/asc");
    Check(Asc(s1) == (s1.empty() ? 0 : static_cast<unsigned char>(s1[0])), "asc");
    return 0;
}
