#include "lobby/friends_wine.h"

#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "common/file_util.h"
#include "common/text.h"

namespace kestrova {

namespace {

namespace fs = std::filesystem;

constexpr std::string_view kSetupKeys[] = {
    "[Software\\\\Microsoft\\\\Internet Gaming Zone\\\\Setup]",
    "[Software\\\\Wow6432Node\\\\Microsoft\\\\Internet Gaming Zone\\\\Setup]",
};

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// A quoted registry string from its opening quote; nothing when unterminated.
std::optional<std::string> Unquote(std::string_view s) {
    if (s.empty() || s[0] != '"') return std::nullopt;
    std::string out;
    for (size_t i = 1; i < s.size(); ++i) {
        char c = s[i];
        if (c == '"') return out;
        if (c != '\\' || i + 1 == s.size()) {
            out += c;
            continue;
        }
        char e = s[++i];
        if (e == 'x') {
            int v = 0, digits = 0;
            while (digits < 4 && i + 1 < s.size() && HexValue(s[i + 1]) >= 0) {
                v = v * 16 + HexValue(s[++i]);
                ++digits;
            }
            out += v < 0x100 ? static_cast<char>(v) : '?';
        } else {
            out += e == 'n' ? '\n' : e == 'r' ? '\r' : e == 't' ? '\t' : e == '0' ? '\0' : e;
        }
    }
    return std::nullopt;
}

// The value of `"Path"=` on one line, plain or as str(2):"...".
std::optional<std::string> PathValue(std::string_view line) {
    constexpr std::string_view name = "\"Path\"=";
    if (line.size() < name.size() || !SameText(line.substr(0, name.size()), name))
        return std::nullopt;
    std::string_view v = line.substr(name.size());
    if (v.substr(0, 7) == "str(2):") v.remove_prefix(7);
    return Unquote(v);
}

bool IsSetupKey(std::string_view line) {
    for (std::string_view key : kSetupKeys)
        if (line.size() >= key.size() && SameText(line.substr(0, key.size()), key)) return true;
    return false;
}

// The entry of `dir` named `name` without regard to case (the exact one first).
std::optional<fs::path> FindComponent(const fs::path& dir, const std::string& name) {
    std::error_code ec;
    if (fs::exists(dir / name, ec)) return dir / name;
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec))
        if (SameText(it->path().filename().string(), name)) return it->path();
    return std::nullopt;
}

}  // namespace

std::optional<std::string> WineZonePath(std::string_view reg) {
    bool inKey = false;
    size_t start = 0;
    while (start < reg.size()) {
        size_t end = reg.find('\n', start);
        if (end == std::string_view::npos) end = reg.size();
        std::string_view line = reg.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        start = end + 1;
        if (!line.empty() && line[0] == '[') {
            inKey = IsSetupKey(line);
            continue;
        }
        if (!inKey) continue;
        if (auto v = PathValue(line)) return v;
    }
    return std::nullopt;
}

std::optional<std::string> WineToUnixPath(const std::string& prefix,
                                          const std::string& windowsPath) {
    if (windowsPath.size() < 2 || windowsPath[1] != ':' ||
        !std::isalpha(static_cast<unsigned char>(windowsPath[0])))
        return std::nullopt;
    const char drive = LowerChar(windowsPath[0]);
    std::error_code ec;
    fs::path at = fs::path(prefix) / "dosdevices" / (std::string(1, drive) + ":");
    if (!fs::exists(at, ec)) {
        if (drive != 'c') return std::nullopt;
        at = fs::path(prefix) / "drive_c";
    }
    size_t i = 2;
    while (i < windowsPath.size()) {
        size_t next = windowsPath.find_first_of("\\/", i);
        if (next == std::string::npos) next = windowsPath.size();
        std::string part = windowsPath.substr(i, next - i);
        i = next + 1;
        if (part.empty()) continue;
        std::optional<fs::path> found = FindComponent(at, part);
        at = found ? *found : at / part;
    }
    return at.string();
}

std::string WineFavoritesFolder() {
    std::string prefix;
    if (const char* p = std::getenv("WINEPREFIX"); p && *p)
        prefix = p;
    else if (const char* home = std::getenv("HOME"); home && *home)
        prefix = std::string(home) + "/.wine";
    else
        return {};
    std::optional<std::string> reg = ReadFileIfExists(prefix + "/system.reg");
    if (!reg) return {};
    std::optional<std::string> path = WineZonePath(*reg);
    if (!path) return {};
    std::optional<std::string> local = WineToUnixPath(prefix, *path + "\\Favorites");
    return local ? *local + "/" : std::string();
}

}  // namespace kestrova
