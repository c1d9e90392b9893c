#include "records/settings_file.h"

#include <cstdio>
#include <filesystem>
#include <stdexcept>
#include <system_error>

#include "common/cp1252.h"
#include "common/file_util.h"
#include "common/text.h"

namespace kestrova {

namespace {

constexpr std::string_view KeyName = "Kestrova";
constexpr size_t MaxFileBytes = 1 << 20;

// "[Kestrova]" is the key, "[Kestrova\sub]" a subkey; anything else is no
// section of ours.
bool SectionName(std::string_view header, std::string& subkey) {
    if (!StartsWithText(header, KeyName)) return false;
    std::string_view rest = header.substr(KeyName.size());
    if (rest.empty()) {
        subkey.clear();
        return true;
    }
    if (rest.front() != '\\' || rest.size() < 2) return false;
    subkey = std::string(rest.substr(1));
    return true;
}

// A double-quoted string at the start of `s`; its length through the closing
// quote in `used`. False when unterminated.
bool Unquote(std::string_view s, std::string& out, size_t& used) {
    if (s.empty() || s.front() != '"') return false;
    out.clear();
    for (size_t i = 1; i < s.size(); ++i) {
        char c = s[i];
        if (c == '"') {
            used = i + 1;
            return true;
        }
        if (c == '\\' && i + 1 < s.size()) c = s[++i];
        out += c;
    }
    return false;
}

std::string Quote(std::string_view s) {
    std::string out = "\"";
    for (char c : s) {
        if (c == '"' || c == '\\') out += '\\';
        out += c;
    }
    return out + '"';
}

bool ParseDword(std::string_view s, int32_t& v) {
    if (!StartsWithText(s, "dword:")) return false;
    s.remove_prefix(6);
    if (s.empty() || s.size() > 8) return false;
    uint32_t x = 0;
    for (char c : s) {
        int d = (c >= '0' && c <= '9')   ? c - '0'
                : (c >= 'a' && c <= 'f') ? c - 'a' + 10
                : (c >= 'A' && c <= 'F') ? c - 'A' + 10
                                         : -1;
        if (d < 0) return false;
        x = x * 16 + static_cast<uint32_t>(d);
    }
    v = static_cast<int32_t>(x);
    return true;
}

// One `"name"=value` line; false for anything else.
bool ParseValue(std::string_view line, std::string& name, TStoredValue& value) {
    size_t used = 0;
    if (!Unquote(line, name, used) || used >= line.size() || line[used] != '=') return false;
    std::string_view rest = line.substr(used + 1);
    int32_t x = 0;
    std::string text;
    if (ParseDword(rest, x)) {
        value = TStoredValue::Integer(x);
    } else if (Unquote(rest, text, used) && used == rest.size()) {
        value = TStoredValue::String(Utf8ToCp1252(text));
    } else {
        return false;
    }
    name = Utf8ToCp1252(name);
    return true;
}

}  // namespace

void TSettingsFile::Load() {
    if (loaded_) return;
    loaded_ = true;
    std::error_code ec;
    if (std::filesystem::is_directory(path_, ec)) return;
    std::optional<std::string> bytes = ReadFileIfExists(path_);
    if (!bytes) return;
    if (bytes->size() > MaxFileBytes) bytes->resize(MaxFileBytes);
    Parse(*bytes);
}

void TSettingsFile::Parse(std::string_view text) {
    sections_.clear();
    exists_ = false;
    TSection* current = nullptr;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find('\n', pos);
        if (end == std::string_view::npos) end = text.size();
        std::string line = Trim(text.substr(pos, end - pos));
        pos = end + 1;
        if (line.empty() || line.front() == ';') continue;
        std::string subkey;
        if (line.front() == '[' && line.back() == ']') {
            bool ours = SectionName(std::string_view(line).substr(1, line.size() - 2), subkey);
            current = ours ? Section(subkey, true) : nullptr;
            exists_ = exists_ || ours;  // a subkey lives under the key
            continue;
        }
        std::string name;
        TStoredValue value;
        if (current && ParseValue(line, name, value)) {
            bool replaced = false;
            for (TEntry& e : *current)
                if (SameText(e.Name, name)) {
                    e.Value = value;  // the last of two equal names wins
                    replaced = true;
                }
            if (!replaced) current->push_back({name, value});
        }
    }
}

TSettingsFile::TSection* TSettingsFile::Section(const std::string& subkey, bool create) {
    for (auto& [name, section] : sections_)
        if (SameText(name, subkey)) return &section;
    if (!create) return nullptr;
    if (subkey.empty()) sections_.insert(sections_.begin(), {subkey, {}});
    else sections_.push_back({subkey, {}});
    return Section(subkey, false);
}

bool TSettingsFile::Exists() {
    Load();
    return exists_;
}

TStoredValue TSettingsFile::Read(const std::string& subkey, const std::string& name) {
    Load();
    if (const TSection* section = Section(subkey, false))
        for (const TEntry& e : *section)
            if (SameText(e.Name, name)) return e.Value;
    return {};
}

void TSettingsFile::Write(const std::string& subkey, const std::string& name,
                          const TStoredValue& v) {
    Load();
    if (!subkey.empty()) Section("", true);  // a subkey lives under the key
    exists_ = true;
    TSection& section = *Section(subkey, true);
    for (TEntry& e : section)
        if (SameText(e.Name, name)) {
            e.Value = v;
            return;
        }
    section.push_back({name, v});
}

void TSettingsFile::ClearSubkey(const std::string& subkey) {
    Load();
    if (TSection* section = Section(subkey, false)) section->clear();
}

std::string TSettingsFile::Text() const {
    std::string out = "; Kestrova settings: integers as dword:<hex>, strings in double quotes\n";
    for (const auto& [subkey, section] : sections_) {
        out += '[';
        out += KeyName;
        if (!subkey.empty()) out += "\\" + Cp1252ToUtf8(subkey);
        out += "]\n";
        for (const TEntry& e : section) {
            if (!e.Value.Exists()) continue;
            out += Quote(Cp1252ToUtf8(e.Name)) + '=';
            if (e.Value.IsInteger()) {
                char hex[16];
                std::snprintf(hex, sizeof hex, "dword:%08x", static_cast<uint32_t>(e.Value.Int));
                out += hex;
            } else {
                out += Quote(Cp1252ToUtf8(e.Value.Text));
            }
            out += '\n';
        }
    }
    return out;
}

void TSettingsFile::Commit() {
    Load();
    std::error_code ec;
    const std::filesystem::path folder = std::filesystem::path(path_).parent_path();
    if (!folder.empty()) std::filesystem::create_directories(folder, ec);
    WriteFileAtomically(path_, Text());
}

}  // namespace kestrova
