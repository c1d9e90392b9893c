#include "lobby/macro_file.h"

#include <algorithm>

#include "common/file_util.h"
#include "common/text.h"
#include "formats/message_file.h"

namespace kestrova {

namespace {
// Key and value of a "key=value" line; no "=" gives the whole line as key.
std::pair<std::string_view, std::string_view> SplitLine(std::string_view line) {
    const size_t eq = line.find('=');
    if (eq == std::string_view::npos) return {line, {}};
    return {line.substr(0, eq), line.substr(eq + 1)};
}

const std::string* TextOf(const std::vector<TMacroBinding>& list, std::string_view macro) {
    for (const TMacroBinding& b : list)
        if (SameText(b.Macro, macro)) return &b.Text;
    return nullptr;
}

// Digits only, fitting an int; advances `pos`.
std::optional<int> ReadNumber(std::string_view s, size_t& pos) {
    long long v = 0;
    const size_t start = pos;
    while (pos < s.size() && s[pos] >= '0' && s[pos] <= '9') {
        v = v * 10 + (s[pos] - '0');
        if (v > 2147483647LL) return std::nullopt;
        ++pos;
    }
    if (pos == start) return std::nullopt;
    return static_cast<int>(v);
}

std::vector<TMacroBinding> ReadBindings(const std::vector<std::string>& lines, bool toolbar) {
    std::vector<TMacroBinding> out;
    for (const std::string& line : lines) {
        auto [key, value] = SplitLine(line);
        // Older files list buttons by number; the caption is the macro's name.
        if (toolbar && StartsWith(key, "Line")) key = value;
        out.push_back({std::string(key), std::string(value)});
    }
    return out;
}

std::vector<std::string> BindingLines(const std::vector<TMacroBinding>& list) {
    std::vector<std::string> out;
    for (const TMacroBinding& b : list)
        out.push_back(b.Macro + "=" + b.Text);
    return out;
}

std::vector<std::string> UnquotedLines(const std::vector<std::string>& stored) {
    std::vector<std::string> out;
    out.reserve(stored.size());
    for (const std::string& line : stored)
        out.push_back(UnquoteMacroLine(SplitLine(line).second));
    return out;
}
}  // namespace

std::string QuoteMacroLine(std::string_view text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '"') out += '"';
        out += c;
    }
    return out + '"';
}

std::string UnquoteMacroLine(std::string_view stored) {
    std::string out;
    if (stored.empty() || stored[0] != '"') return out;
    for (size_t i = 1; i < stored.size(); ++i) {
        if (stored[i] != '"') {
            out += stored[i];
        } else if (i + 1 < stored.size() && stored[i + 1] == '"') {
            out += '"';
            ++i;
        } else {
            break;
        }
    }
    return out;
}

bool IsPlayerMacroText(std::string_view text) {
    for (size_t i = 0; i + 1 < text.size(); ++i)
        if (text[i] == '%') {
            const char c = text[i + 1];
            if (c == 'p' || c == 'o' || c == 'r' || c == 't') return true;
        }
    return false;
}

bool IsPlayerMacro(const std::vector<std::string>& lines) {
    return std::any_of(lines.begin(), lines.end(),
                       [](const std::string& l) { return IsPlayerMacroText(l); });
}

std::optional<int> DelayMilliseconds(std::string_view line) {
    size_t pos = 0;
    while (pos < line.size() && line[pos] == ' ')
        ++pos;
    if (!StartsWithText(line.substr(pos), ".<DELAY:")) return std::nullopt;
    pos += 8;
    const auto seconds = ReadNumber(line, pos);
    if (!seconds || pos >= line.size() || line[pos] != '.') return std::nullopt;
    ++pos;
    const auto hundredths = ReadNumber(line, pos);
    if (!hundredths) return std::nullopt;
    const long long ms = *seconds * 1000LL + *hundredths * 10LL;
    return static_cast<int>(std::min<long long>(ms, 2147483647LL));
}

bool TMacroFile::Load(const std::string& fileName) {
    *this = TMacroFile();
    const auto bytes = ReadFileIfExists(fileName);
    if (!bytes) return false;
    LoadFromText(*bytes);
    return true;
}

void TMacroFile::LoadFromText(std::string_view bytes) {
    // Everything is read into a fresh file first: nothing is ever half-loaded.
    TMacroFile read;
    TMessageFile file("");
    file.LoadFromText(bytes);
    for (int i = 0; i < file.Count(); ++i) {
        const std::string& name = file.Name(i);
        if (SameText(name, ToolbarSection)) {
            read.Toolbar = ReadBindings(file.Lines(i), true);
        } else if (SameText(name, HotKeysSection)) {
            read.HotKeys = ReadBindings(file.Lines(i), false);
        } else {
            read.Macros.push_back({name, UnquotedLines(file.Lines(i))});
        }
    }
    *this = std::move(read);
}

std::string TMacroFile::SaveToText() const {
    TMessageFile file("");
    file.AddSection(ToolbarSection, BindingLines(Toolbar));
    file.AddSection(HotKeysSection, BindingLines(HotKeys));
    for (const TMacro& m : Macros) {
        std::vector<std::string> lines;
        lines.reserve(m.Lines.size());
        for (size_t i = 0; i < m.Lines.size(); ++i)
            lines.push_back(Format("Line%.2d=", static_cast<int>(i)) + QuoteMacroLine(m.Lines[i]));
        file.AddSection(m.Name, lines);
    }
    return file.SaveToText();
}

void TMacroFile::Save(const std::string& fileName) const {
    if (ReadFileIfExists(fileName)) CopyFileAtomically(fileName, ChangeFileExt(fileName, MacroBackupExt));
    WriteFileAtomically(fileName, SaveToText());
}

int TMacroFile::IndexOf(std::string_view name) const {
    for (size_t i = 0; i < Macros.size(); ++i)
        if (SameText(Macros[i].Name, name)) return static_cast<int>(i);
    return -1;
}

const std::string* TMacroFile::HotKeyOf(std::string_view macro) const { return TextOf(HotKeys, macro); }
const std::string* TMacroFile::CaptionOf(std::string_view macro) const { return TextOf(Toolbar, macro); }

std::unordered_map<std::string, int> TMacroFile::NameIndex() const {
    std::unordered_map<std::string, int> index;
    for (size_t i = 0; i < Macros.size(); ++i)
        index.emplace(UpperCase(Macros[i].Name), static_cast<int>(i));
    return index;
}

void TMacroFile::TidyToolbar() {
    const auto index = NameIndex();
    auto at = [&](const TMacroBinding& b) {
        const auto it = index.find(UpperCase(b.Macro));
        return it == index.end() ? -1 : it->second;
    };
    std::erase_if(Toolbar, [&](const TMacroBinding& b) { return at(b) < 0; });
    std::stable_sort(Toolbar.begin(), Toolbar.end(),
                     [&](const TMacroBinding& a, const TMacroBinding& b) { return at(a) < at(b); });
}

std::vector<std::string> ReadMacroLines(const std::string& fileName, std::string_view name) {
    TMacroFile file;
    if (!file.Load(fileName)) return {};
    const int i = file.IndexOf(name);
    return i < 0 ? std::vector<std::string>() : file.Macros[static_cast<size_t>(i)].Lines;
}

}  // namespace kestrova
