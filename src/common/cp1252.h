#pragma once
// Windows code page 1252 <-> UTF-8. The core keeps cp1252 bytes; conversion
// happens only where text meets Qt (widgets, clipboard, file names).
#include <string>
#include <string_view>

namespace kestrova {

std::string Cp1252ToUtf8(std::string_view cp1252);
// Characters that cp1252 cannot hold become '?'. Invalid UTF-8 bytes too.
std::string Utf8ToCp1252(std::string_view utf8);
// UTF-16 code units of cp1252 text (for the Unicode clipboard format).
std::u16string Cp1252ToUtf16(std::string_view cp1252);

}  // namespace kestrova
