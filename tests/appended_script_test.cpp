// Encoding and decoding of scripts appended to the interpreter.
#include <string>

#include <gtest/gtest.h>

#include "script/appended_script.hpp"

namespace vorlune::script {
namespace {

std::string AllBytesExceptLf() {
    std::string s;
    for (int b = 0; b < 256; ++b) if (b != '\n') s.push_back(static_cast<char>(b));
    return s;
}

TEST(ScriptLineCodec, RoundTripsEveryLengthModThreeAndEveryByte) {
    std::string bytes = AllBytesExceptLf();
    for (std::size_t len = 0; len <= 12; ++len) {
        std::string line = bytes.substr(100, len);
        EXPECT_EQ(DecodeScriptLine(EncodeScriptLine(line)), line) << "length " << len;
    }
    EXPECT_EQ(DecodeScriptLine(EncodeScriptLine(bytes)), bytes);
}

TEST(ScriptLineCodec, RoundTripsLinesOfSixtyFourKibibytesAndMore) {
    // The decoder unscrambles only the first (length mod 65536) bytes; the
    // encoder must leave the same bytes unscrambled, or long lines break.
    for (std::size_t len : {65535u, 65536u, 65537u, 70000u, 131073u}) {
        std::string line;
        for (std::size_t i = 0; i < len; ++i) line.push_back(static_cast<char>('a' + i % 26));
        EXPECT_TRUE(DecodeScriptLine(EncodeScriptLine(line)) == line) << "length " << len;
    }
}

TEST(ScriptLineCodec, SymbolCountsGiveByteCounts) {
    // 4 symbols -> 3 bytes, 3 -> 2, 2 -> 1, a lone trailing symbol -> nothing.
    EXPECT_EQ(EncodeScriptLine("abc").size(), 4u);
    EXPECT_EQ(EncodeScriptLine("ab").size(), 3u);
    EXPECT_EQ(EncodeScriptLine("a").size(), 2u);
    EXPECT_EQ(DecodeScriptLine("AAAA").size(), 3u);
    EXPECT_EQ(DecodeScriptLine("AAA").size(), 2u);
    EXPECT_EQ(DecodeScriptLine("AA").size(), 1u);
    EXPECT_EQ(DecodeScriptLine("A").size(), 0u);
    EXPECT_EQ(DecodeScriptLine("AAAAA"), DecodeScriptLine("AAAA"));
}

TEST(ScriptLineCodec, KnownEncodingPacksLeastSignificantFirst) {
    // 'p' XOR 0x4B = 0x3B: V = 0x3B -> symbols 59 ('7') and 0 ('A').
    EXPECT_EQ(EncodeScriptLine("p"), "7A");
    EXPECT_EQ(DecodeScriptLine("7A"), "p");
}

TEST(ScriptLineCodec, CharactersOutsideTheAlphabetCountAsZero) {
    EXPECT_EQ(DecodeScriptLine("7=AA"), DecodeScriptLine("7AAA"));
    EXPECT_EQ(DecodeScriptLine("7A=="), DecodeScriptLine("7AAA"));
    EXPECT_EQ(DecodeScriptLine("**"), DecodeScriptLine("AA"));
}

TEST(ScriptLineCodec, RunningCountIsSixteenBits) {
    // 65536 decoded bytes: (65536 mod 65536) = 0 bytes are unscrambled.
    std::string stored(65536 / 3 * 4 + 2, 'A');  // 21845 groups + 1 byte = 65536 bytes
    std::string decoded = DecodeScriptLine(stored);
    ASSERT_EQ(decoded.size(), 65536u);
    EXPECT_EQ(decoded, std::string(65536, '\0'));
    // 65537 bytes: only the first byte is unscrambled.
    std::string longer = DecodeScriptLine(std::string(65536 / 3 * 4 + 3, 'A'));
    ASSERT_EQ(longer.size(), 65537u);
    EXPECT_EQ(static_cast<unsigned char>(longer[0]), 0x4Bu);
    EXPECT_EQ(longer.substr(1), std::string(65536, '\0'));
}

TEST(ScriptText, RebuildsLinesTrimmedAndDropsTheUnterminatedTail) {
    std::string stored = EncodeScriptLine("print(1)") + "\r\n" + "  " + EncodeScriptLine("") + "\n" +
                         EncodeScriptLine("x = 2") + "\n" + EncodeScriptLine("lost");
    EXPECT_EQ(BuildScriptText(stored), " print(1)\n\nx = 2\n");
    EXPECT_EQ(BuildScriptText(""), " ");
}

TEST(ScriptText, EncodeScriptAcceptsCrLfAndEmptyLines) {
    std::string stored = EncodeScript("a\r\n\r\nb\n");
    EXPECT_EQ(BuildScriptText(stored), " a\n\nb\n");
    EXPECT_EQ(BuildScriptText(EncodeScript("no final newline")), " no final newline\n");
}

TEST(Trailer, MarkerAnywhereAndOffsetFromTheLastTwelveBytes) {
    EXPECT_EQ(MakeTrailer(1234), "vrlnbind1234        ");
    EXPECT_EQ(TrailerOffsetText(MakeTrailer(1234)), "1234");
    EXPECT_EQ(TrailerOffsetText("vrlnbind \t 42 \r\n    "), "42");
    // The marker may stand anywhere; the offset still comes from the last 12 bytes.
    EXPECT_EQ(TrailerOffsetText("12vrlnbind 0000077  "), "nd 0000077");
    EXPECT_EQ(TrailerOffsetText("no marker here at all"), std::nullopt);
    EXPECT_EQ(TrailerOffsetText("vrlnbin"), std::nullopt);
}

TEST(Trailer, OffsetIntegers) {
    EXPECT_EQ(ParseInteger("0"), 0);
    EXPECT_EQ(ParseInteger("-7"), -7);
    EXPECT_EQ(ParseInteger("+15"), 15);
    EXPECT_EQ(ParseInteger(""), std::nullopt);
    EXPECT_EQ(ParseInteger("12a"), std::nullopt);
    EXPECT_EQ(ParseInteger("-"), std::nullopt);
    EXPECT_EQ(ParseInteger("99999999999999999999999"), std::nullopt);
}

}  // namespace
}  // namespace vorlune::script
