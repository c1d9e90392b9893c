#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include <windows.h>

#include "common/cp1252.h"
#include "common/wide_text.h"

namespace kestrova {

std::wstring WideOf(std::string_view cp1252) {
    std::u16string u = Cp1252ToUtf16(cp1252);
    return std::wstring(u.begin(), u.end());
}

std::string Cp1252OfWide(std::wstring_view wide) {
    if (wide.empty()) return {};
    const int size = static_cast<int>(wide.size());
    int n = ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
    if (n <= 0) return {};
    std::string utf8(static_cast<size_t>(n), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, utf8.data(), n, nullptr, nullptr);
    return Utf8ToCp1252(utf8);
}

std::string SystemErrorText(unsigned long code) {
    wchar_t* buf = nullptr;
    DWORD n = ::FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                   FORMAT_MESSAGE_IGNORE_INSERTS,
                               nullptr, code, 0, reinterpret_cast<wchar_t*>(&buf), 0, nullptr);
    std::string text = n && buf ? Cp1252OfWide(std::wstring_view(buf, n))
                                : "error " + std::to_string(code);
    if (buf) ::LocalFree(buf);
    while (!text.empty() && (text.back() == '\r' || text.back() == '\n' || text.back() == ' '))
        text.pop_back();
    return text;
}

}  // namespace kestrova
