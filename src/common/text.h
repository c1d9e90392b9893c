#pragma once
// Text helpers for cp1252 strings held in std::string.
#include <cstdarg>
#include <string>
#include <string_view>

namespace kestrova {

// Upper/lower case of one cp1252 byte (letters of the Latin-1 range included).
char UpperChar(char c);
char LowerChar(char c);
std::string UpperCase(std::string_view s);
std::string LowerCase(std::string_view s);

// Case-insensitive comparison of cp1252 text.
bool SameText(std::string_view a, std::string_view b);
int CompareText(std::string_view a, std::string_view b);  // <0, 0, >0
bool ContainsText(std::string_view haystack, std::string_view needle);  // case-insensitive

// Removes leading and trailing blanks and control characters (bytes <= 0x20).
std::string Trim(std::string_view s);

// Decimal conversions. StrToIntDef accepts an optional sign and digits only,
// with surrounding blanks trimmed; anything else (or overflow) gives def.
std::string IntToStr(long long v);
int StrToIntDef(std::string_view s, int def);
bool TryStrToInt(std::string_view s, int& out);

// printf-style formatting with a format that is always a literal of ours:
// the compiler checks every call (-Wformat=2), so no user text can become a format.
std::string Format(const char* fmt, ...) __attribute__((format(printf, 1, 2)));

// Joins and splits.
bool StartsWith(std::string_view s, std::string_view prefix);
bool StartsWithText(std::string_view s, std::string_view prefix);  // case-insensitive

}  // namespace kestrova
