// String functions of the script library: character codes, number parsing,
// substrings by byte positions from 1, Latin-1 case mapping, time and date.
// Strings are byte strings: one byte is one character.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace vorlune::util {

std::string Chr(int32_t code);          // one byte: code modulo 256
int32_t Asc(std::string_view s);      // first byte 0-255; 0 for ""
double Val(std::string_view s);       // decimal number in "." notation, whatever the locale; 0 when not a number
std::string Left(std::string_view s, int32_t count);       // first count bytes
std::string Right(std::string_view s, int32_t count);      // last count bytes
std::string Mid(std::string_view s, int32_t start, int32_t count);  // count bytes from position start
std::string Insert(std::string_view s1, std::string_view s2, int32_t start);  // s2 placed at position start of s1 (clamped)
int32_t Len(std::string_view s);      // number of bytes
std::string Uppercase(std::string_view s);  // Latin-1 upper case, byte by byte
std::string Lowercase(std::string_view s);  // Latin-1 lower case, byte by byte
std::string Time();                     // local time of day, "hh:nn:ss"
std::string Date();                     // local date, "yyyy-mm-dd"

}  // namespace vorlune::util
