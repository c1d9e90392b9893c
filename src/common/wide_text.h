#pragma once
// The program's cp1252 text where it meets the wide (UTF-16) Win32 calls,
// and the system's words for an error code. Used by the *_win32.cpp files
// only, which include windows.h themselves; this header does not.
#include <string>
#include <string_view>

namespace kestrova {

std::wstring WideOf(std::string_view cp1252);
// What cp1252 cannot hold becomes '?'.
std::string Cp1252OfWide(std::wstring_view wide);
// FormatMessage's text for a system error code, without its line break.
std::string SystemErrorText(unsigned long code);

}  // namespace kestrova
