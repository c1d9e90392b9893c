#include "lobby/hot_key.h"

#include <array>

#include "common/text.h"

namespace kestrova {

namespace {
constexpr std::array<const char*, 16> NamedKeys = {"BkSp", "Tab",  "Enter", "Esc",  "Space", "PgUp",
                                                   "PgDn", "End",  "Home",  "Left", "Up",    "Right",
                                                   "Down", "Ins",  "Del",   "Back"};

bool IsDigits(std::string_view s) {
    if (s.empty() || s.size() > 2) return false;
    for (char c : s)
        if (c < '0' || c > '9') return false;
    return true;
}
}  // namespace

std::string KeyName(std::string_view name) {
    if (name.empty()) return {};
    if (name.size() == 1) {
        const char c = UpperChar(name[0]);
        if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) return std::string(1, c);
        return {};
    }
    if ((name[0] == 'F' || name[0] == 'f') && IsDigits(name.substr(1))) {
        const int n = StrToIntDef(name.substr(1), 0);
        if (n >= 1 && n <= 24 && name[1] != '0') return "F" + IntToStr(n);
        return {};
    }
    for (const char* k : NamedKeys)
        if (SameText(name, k)) return k == std::string_view("Back") ? "BkSp" : k;
    return {};
}

std::optional<THotKey> ParseHotKey(std::string_view text) {
    THotKey key;
    struct Mod {
        const char* Prefix;
        bool THotKey::*Flag;
    };
    const Mod mods[] = {{"Shift+", &THotKey::Shift}, {"Ctrl+", &THotKey::Ctrl}, {"Alt+", &THotKey::Alt}};
    for (bool more = true; more;) {
        more = false;
        for (const Mod& m : mods) {
            if (!StartsWithText(text, m.Prefix)) continue;
            if (key.*m.Flag) return std::nullopt;  // "Ctrl+Ctrl+A"
            key.*m.Flag = true;
            text.remove_prefix(std::string_view(m.Prefix).size());
            more = true;
        }
    }
    if (text.empty()) return std::nullopt;
    key.Key = KeyName(text);
    if (key.Key.empty()) return std::nullopt;
    return key;
}

std::string FormatHotKey(const THotKey& key) {
    std::string out;
    if (key.Shift) out += "Shift+";
    if (key.Ctrl) out += "Ctrl+";
    if (key.Alt) out += "Alt+";
    return out + key.Key;
}

}  // namespace kestrova
