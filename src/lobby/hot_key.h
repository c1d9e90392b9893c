#pragma once
// Hot keys of macros in their text form, as the menu system writes a key
// combination: modifiers "Shift+", "Ctrl+", "Alt+" (in that order when
// written) and a key name ("A", "7", "F1", "Del", "PgUp", ...).
#include <optional>
#include <string>
#include <string_view>

namespace kestrova {

struct THotKey {
    bool Shift = false, Ctrl = false, Alt = false;
    std::string Key;  // the key's own name, as FormatHotKey writes it

    bool operator==(const THotKey&) const = default;
    // What the macro editor's picker accepts: Ctrl or Alt must be held, so a
    // plain key or Shift with a key stays free for typing.
    bool Pickable() const { return Ctrl || Alt; }
};

// The key combination of the text; nothing when it is not one (an unknown
// key name, a modifier twice or alone, stray characters). Letter case is ignored.
std::optional<THotKey> ParseHotKey(std::string_view text);
std::string FormatHotKey(const THotKey& key);
// The canonical name of a key ("pgup" -> "PgUp"); empty when unknown.
std::string KeyName(std::string_view name);

}  // namespace kestrova
