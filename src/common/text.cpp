#include "common/text.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace kestrova {

namespace {
unsigned char Byte(char c) { return static_cast<unsigned char>(c); }
}  // namespace

char UpperChar(char c) {
    unsigned char b = Byte(c);
    if (b >= 'a' && b <= 'z') return static_cast<char>(b - 32);
    // cp1252: 0x9A s-caron, 0x9C oe, 0x9E z-caron, 0xFF y-diaeresis, 0xE0..0xFE (not 0xF7)
    if (b == 0x9A || b == 0x9C || b == 0x9E) return static_cast<char>(b - 16);
    if (b == 0xFF) return static_cast<char>(0x9F);
    if (b >= 0xE0 && b <= 0xFE && b != 0xF7) return static_cast<char>(b - 32);
    return c;
}

char LowerChar(char c) {
    unsigned char b = Byte(c);
    if (b >= 'A' && b <= 'Z') return static_cast<char>(b + 32);
    if (b == 0x8A || b == 0x8C || b == 0x8E) return static_cast<char>(b + 16);
    if (b == 0x9F) return static_cast<char>(0xFF);
    if (b >= 0xC0 && b <= 0xDE && b != 0xD7) return static_cast<char>(b + 32);
    return c;
}

std::string UpperCase(std::string_view s) {
    std::string r(s);
    for (char& c : r) c = UpperChar(c);
    return r;
}

std::string LowerCase(std::string_view s) {
    std::string r(s);
    for (char& c : r) c = LowerChar(c);
    return r;
}

int CompareText(std::string_view a, std::string_view b) {
    size_t n = a.size() < b.size() ? a.size() : b.size();
    for (size_t i = 0; i < n; ++i) {
        unsigned char x = Byte(UpperChar(a[i]));
        unsigned char y = Byte(UpperChar(b[i]));
        if (x != y) return x < y ? -1 : 1;
    }
    if (a.size() == b.size()) return 0;
    return a.size() < b.size() ? -1 : 1;
}

bool SameText(std::string_view a, std::string_view b) {
    return a.size() == b.size() && CompareText(a, b) == 0;
}

bool ContainsText(std::string_view haystack, std::string_view needle) {
    if (needle.empty()) return true;
    return UpperCase(haystack).find(UpperCase(needle)) != std::string::npos;
}

std::string Trim(std::string_view s) {
    size_t b = 0, e = s.size();
    while (b < e && Byte(s[b]) <= 0x20) ++b;
    while (e > b && Byte(s[e - 1]) <= 0x20) --e;
    return std::string(s.substr(b, e - b));
}

std::string IntToStr(long long v) { return std::to_string(v); }

bool TryStrToInt(std::string_view s, int& out) {
    std::string t = Trim(s);
    if (t.empty() || t.size() > 16) return false;
    size_t i = 0;
    bool neg = false;
    if (t[0] == '+' || t[0] == '-') {
        neg = t[0] == '-';
        i = 1;
    }
    if (i >= t.size()) return false;
    long long v = 0;
    for (; i < t.size(); ++i) {
        if (t[i] < '0' || t[i] > '9') return false;
        v = v * 10 + (t[i] - '0');
        if (v > static_cast<long long>(INT_MAX) + 1) return false;
    }
    if (neg) v = -v;
    if (v > INT_MAX || v < INT_MIN) return false;
    out = static_cast<int>(v);
    return true;
}

int StrToIntDef(std::string_view s, int def) {
    int v;
    return TryStrToInt(s, v) ? v : def;
}

std::string Format(const char* fmt, ...) {
    va_list ap;
    va_start(ap, fmt);
    va_list copy;
    va_copy(copy, ap);
    int n = std::vsnprintf(nullptr, 0, fmt, copy);
    va_end(copy);
    std::string r;
    if (n > 0) {
        std::vector<char> buf(static_cast<size_t>(n) + 1);
        std::vsnprintf(buf.data(), buf.size(), fmt, ap);
        r.assign(buf.data(), static_cast<size_t>(n));
    }
    va_end(ap);
    return r;
}

bool StartsWith(std::string_view s, std::string_view prefix) {
    return s.substr(0, prefix.size()) == prefix;
}

bool StartsWithText(std::string_view s, std::string_view prefix) {
    return s.size() >= prefix.size() && SameText(s.substr(0, prefix.size()), prefix);
}

}  // namespace kestrova
