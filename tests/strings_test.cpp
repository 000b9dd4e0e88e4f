// String functions: character codes, number parsing (independent of the
// locale), substrings, Latin-1 case mapping, time and date.
#include <locale.h>
#include <stdlib.h>

#include <cstdint>
#include <ctime>
#include <filesystem>
#include <regex>
#include <string>

#include <gtest/gtest.h>

#include "support/engine_fixture.hpp"
#include "support/script_runner.hpp"
#include "util/strings.hpp"

namespace vorlune::test {
namespace {

using namespace std::string_literals;

TEST(Strings, CharacterCodes) {
    EXPECT_EQ(util::Chr(65), "A");
    EXPECT_EQ(util::Chr(321), "A");   // modulo 256
    EXPECT_EQ(util::Chr(-191), "A");  // low 8 bits of a negative code
    EXPECT_EQ(util::Chr(0), "\0"s);
    EXPECT_EQ(util::Chr(255), "\xFF");
    EXPECT_EQ(util::Asc(""), 0);
    EXPECT_EQ(util::Asc("A"), 65);
    EXPECT_EQ(util::Asc("\xE9xyz"), 0xE9);  // bytes are unsigned
}

struct ValCase {
    std::string text;
    double expected;
};

TEST(Strings, ValParsesExactlyTheDecimalSyntax) {
    const ValCase cases[] = {
        {" 3.5 ", 3.5},    {"\t\r\n 42\x01\x1F", 42}, {"-2e3", -2000}, {".5", 0.5},      {"5.", 5},
        {"+7", 7},         {"-.25", -0.25},           {"1e+2", 100},   {"1E-2", 0.01},    {"5.e1", 50},
        {"007", 7},        {"0", 0},                  {"1e-400", 0},   {"1.7976931348623157e308", 1.7976931348623157e308},
        // Not numbers: 0.
        {"", 0},           {"   ", 0},                {"1,5", 0},      {"1,000", 0},      {" ,", 0},
        {"12abc", 0},      {"1e", 0},                 {"1e+", 0},      {"1.5E-", 0},      {".", 0},
        {"-", 0},          {"+", 0},                  {"e5", 0},       {".e5", 0},        {"--1", 0},
        {"+-1", 0},        {"1..2", 0},               {"1.2.3", 0},    {"1 2", 0},        {"0x10", 0},
        {"inf", 0},        {"nan", 0},                {"\xA0" "5", 0}, {"5\xFF", 0},      {"1e2.5", 0},
        // Beyond the double range: the computation fails.
        {"1e400", 0},      {"-1e400", 0},             {"1e99999999999999999999", 0},
        {"1.797693134862315808e308", 0},  // rounds to infinity as a double
    };
    for (const ValCase& c : cases) EXPECT_EQ(util::Val(c.text), c.expected) << "val('" << c.text << "')";
}

TEST(Strings, ValRefusesTextsLongerThan255BytesAfterTrimming) {
    std::string digits255 = std::string(254, '0') + "1";
    EXPECT_EQ(util::Val(digits255), 1);
    EXPECT_EQ(util::Val("  \t" + digits255 + "\n "), 1);
    EXPECT_EQ(util::Val("0" + digits255), 0);
}

TEST(Strings, ValComputesInExtendedPrecisionBeforeRoundingToDouble) {
    // Just above 1 + 2^-53, the midpoint between 1 and the next double: the
    // extended value is the midpoint itself, which then rounds to even (1);
    // a direct conversion to double would give 1 + 2^-52.
    EXPECT_EQ(util::Val("1.0000000000000001110223024625157"), 1.0);
    EXPECT_EQ(util::Val("0.1"), 0.1);
    EXPECT_EQ(util::Val("123456789012345678"), 123456789012345678.0);
}

// Switches LC_NUMERIC to a locale whose decimal separator is ",", for the
// lifetime of the object; generates one with localedef when none is installed.
class CommaLocale {
public:
    CommaLocale() {
        previous_ = setlocale(LC_NUMERIC, nullptr);
        for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "de_DE", "fr_FR"}) {
            if (setlocale(LC_NUMERIC, name) && UsesComma()) return;
        }
        const std::filesystem::path dir = tempDir_.path();
        std::string command = "localedef -i de_DE -f UTF-8 '" + (dir / "de_DE.UTF-8").string() + "' >/dev/null 2>&1";
        int status = std::system(command.c_str());
        if (status == -1 || !std::filesystem::exists(dir / "de_DE.UTF-8" / "LC_NUMERIC")) {
            why_ = "no comma locale is installed and localedef could not generate de_DE.UTF-8";
            return;
        }
        const char* oldPath = getenv("LOCPATH");
        if (oldPath) oldLocPath_ = oldPath;
        hadLocPath_ = oldPath != nullptr;
        setenv("LOCPATH", dir.c_str(), 1);
        if (!setlocale(LC_NUMERIC, "de_DE.UTF-8") || !UsesComma()) why_ = "the generated de_DE.UTF-8 does not load";
    }
    ~CommaLocale() {
        setlocale(LC_NUMERIC, previous_.c_str());
        if (hadLocPath_) {
            setenv("LOCPATH", oldLocPath_.c_str(), 1);
        } else {
            unsetenv("LOCPATH");
        }
    }
    bool active() const { return why_.empty(); }
    const std::string& why() const { return why_; }

private:
    static bool UsesComma() { return std::string(localeconv()->decimal_point) == ","; }
    TempDir tempDir_;
    std::string previous_;
    std::string oldLocPath_;
    bool hadLocPath_ = false;
    std::string why_;
};

TEST(Strings, ValIgnoresTheNumericLocale) {
    CommaLocale locale;
    if (!locale.active()) GTEST_SKIP() << locale.why();
    ASSERT_EQ(strtod("3,5", nullptr), 3.5) << "the locale is not in effect";
    EXPECT_EQ(util::Val("3.5"), 3.5);
    EXPECT_EQ(util::Val("-1.25e2"), -125);
    EXPECT_EQ(util::Val("3,5"), 0);
}

TEST(Strings, SubstringsCountBytesFromOne) {
    struct Case {
        std::string actual;
        std::string expected;
    };
    const int32_t kMin = INT32_MIN, kMax = INT32_MAX;
    const Case cases[] = {
        {util::Left("abcdef", 2), "ab"},        {util::Left("abc", 10), "abc"},       {util::Left("abc", -1), ""},
        {util::Left("abc", kMax), "abc"},       {util::Left("", 3), ""},
        {util::Right("abcdef", 2), "ef"},       {util::Right("abc", 10), "abc"},      {util::Right("abc", 0), ""},
        {util::Right("abc", -2), ""},           {util::Right("abc", kMin), ""},       {util::Right("abc", kMax), "abc"},
        {util::Mid("abcdef", 2, 3), "bcd"},     {util::Mid("abcdef", 5, 10), "ef"},   {util::Mid("abcdef", 7, 1), ""},
        {util::Mid("abcdef", 2, 0), ""},        {util::Mid("abcdef", 0, 2), "ab"},    {util::Mid("abcdef", -3, 2), "ab"},
        {util::Mid("abcdef", 6, 1), "f"},       {util::Mid("abcdef", 100, -5), ""},   {util::Mid("abcdef", kMin, kMax), "abcdef"},
        {util::Mid("abcdef", kMax, kMax), ""},  {util::Mid("abcdef", 3, kMax), "cdef"},
        {util::Insert("abc", "XY", 2), "aXYbc"}, {util::Insert("abc", "XY", 0), "XYabc"},
        {util::Insert("abc", "XY", 1), "XYabc"}, {util::Insert("abc", "XY", 3), "abXYc"},
        {util::Insert("abc", "XY", 4), "abcXY"}, {util::Insert("abc", "XY", 10), "abcXY"},
        {util::Insert("abc", "XY", kMin), "XYabc"}, {util::Insert("abc", "XY", kMax), "abcXY"},
        {util::Insert("abc", "", 2), "abc"},    {util::Insert("", "XY", 5), "XY"},
        // Results keep zero bytes.
        {util::Mid("a\0b"s, 2, 2), "\0b"s},     {util::Insert("a\0b"s, "\0"s, 3), "a\0\0b"s},
    };
    for (const Case& c : cases) EXPECT_EQ(c.actual, c.expected);
    EXPECT_EQ(util::Len(""), 0);
    EXPECT_EQ(util::Len("a\0b"s), 3);
}

TEST(Strings, CaseMappingFollowsLatin1) {
    EXPECT_EQ(util::Uppercase("Hello, World 09!"), "HELLO, WORLD 09!");
    EXPECT_EQ(util::Lowercase("Hello, World 09!"), "hello, world 09!");
    EXPECT_EQ(util::Uppercase("\xDF\xE9\xFF\xF7\xE0\xFE"), "\xDF\xC9Y\xF7\xC0\xDE");
    EXPECT_EQ(util::Lowercase("\xD7\xC9\xC0\xDE\xDF\xFFY"), "\xD7\xE9\xE0\xFE\xDF\xFFy");
    EXPECT_EQ(util::Uppercase("a\0b"s), "A\0B"s);
    // Exactly the letters move: 26 + 30 + 0xFF upward, 26 + 30 downward.
    int upperChanged = 0, lowerChanged = 0;
    for (int b = 0; b < 256; ++b) {
        std::string s(1, static_cast<char>(b));
        upperChanged += util::Uppercase(s) != s;
        lowerChanged += util::Lowercase(s) != s;
        // Every small letter but 0xFF comes back from its capital.
        if (b != 0xFF && util::Uppercase(s) != s) {
            EXPECT_EQ(util::Lowercase(util::Uppercase(s)), s) << b;
        }
    }
    EXPECT_EQ(upperChanged, 57);
    EXPECT_EQ(lowerChanged, 56);
}

// Sets TZ for the lifetime of the object.
class TimeZone {
public:
    explicit TimeZone(const char* zone) {
        const char* old = getenv("TZ");
        had_ = old != nullptr;
        if (old) old_ = old;
        setenv("TZ", zone, 1);
        tzset();
    }
    ~TimeZone() {
        if (had_) {
            setenv("TZ", old_.c_str(), 1);
        } else {
            unsetenv("TZ");
        }
        tzset();
    }

private:
    bool had_ = false;
    std::string old_;
};

std::string Formatted(std::time_t t, const char* format) {
    std::tm local{};
    localtime_r(&t, &local);
    char text[32];
    std::strftime(text, sizeof text, format, &local);
    return text;
}

TEST(Strings, TimeAndDateAreLocal) {
    std::string eastDate, westDate;
    for (const char* zone : {"XST-14", "YST+12", "UTC0"}) {
        TimeZone tz(zone);
        std::time_t before = std::time(nullptr);
        std::string time = util::Time();
        std::string date = util::Date();
        std::time_t after = std::time(nullptr);
        EXPECT_TRUE(std::regex_match(time, std::regex("[0-2][0-9]:[0-5][0-9]:[0-6][0-9]"))) << time;
        EXPECT_TRUE(std::regex_match(date, std::regex("[0-9]{4}-[01][0-9]-[0-3][0-9]"))) << date;
        EXPECT_TRUE(time == Formatted(before, "%H:%M:%S") || time == Formatted(after, "%H:%M:%S")) << zone << " " << time;
        EXPECT_TRUE(date == Formatted(before, "%Y-%m-%d") || date == Formatted(after, "%Y-%m-%d")) << zone << " " << date;
        if (zone[0] == 'X') eastDate = date;
        if (zone[0] == 'Y') westDate = date;
    }
    EXPECT_NE(eastDate, westDate);  // 26 hours apart: never the same day
}

class StringsScript : public EngineTest {};

TEST_F(StringsScript, StringArgumentsAreCutAtTheFirstZeroByte) {
    EXPECT_EQ(Eval("len(chr(0))"), "0");
    EXPECT_EQ(Eval("#chr(0)"), "1");  // the result itself keeps its zero byte
    EXPECT_EQ(Eval("len('ab\\0cd')"), "2");
    EXPECT_EQ(Eval("val('3\\0' .. '1')"), "3");
    EXPECT_EQ(Eval("#mid('abcdef', 2, 3)"), "3");
    EXPECT_EQ(Eval("chr(321)"), "A");
    EXPECT_EQ(Eval("asc('')"), "0");
}

TEST_F(StringsScript, UsageMessagesAndArgumentlessFunctions) {
    EXPECT_EQ(Lua("mid('a', 1)"), "test:1: Usage: mid (string,start,length)");
    EXPECT_EQ(Lua("insert('a', 'b')"), "test:1: Usage: insert (string1,string2,start)");
    EXPECT_EQ(Lua("asc()"), "test:1: Usage: asc (char)");
    EXPECT_EQ(Lua("val('1', '2')"), "test:1: Usage: val (string)");
    LuaOk("assert(#time(1, 2) == 8 and #date('x') == 10)");
    EXPECT_EQ(Eval("val(12.5)"), "12.5");  // a number argument arrives as its text
}

}  // namespace
}  // namespace vorlune::test
