#pragma once
// TSettingsFile: the settings store of platforms without a registry. One
// per-user text file keeps the key and its subkeys with the type of every
// value, so the reading rules hold as they do for the registry:
//
//     ; Kestrova settings
//     [Kestrova]
//     "Left"=dword:00000191
//     "Host name"="Ma\"ry"
//     [Kestrova\RestoreMRU]   (a subkey)
//     "F0"="/home/ann/Cup.kvb"
//
// Integers are "dword:" and one to eight hex digits (a 32-bit pattern, read
// back as the signed number), strings are double-quoted UTF-8 in which a
// backslash escapes the next character. Lines that are none of these, sections of other keys and values
// of other types are ignored, so a damaged or hand-edited file is read as far
// as it makes sense and never stops the program. The file is rewritten whole
// and atomically on Commit.
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "common/ports.h"

namespace kestrova {

class TSettingsFile : public ISettingsStore {
  public:
    explicit TSettingsFile(std::string path) : path_(std::move(path)) {}

    bool Exists() override;
    TStoredValue Read(const std::string& subkey, const std::string& name) override;
    void Write(const std::string& subkey, const std::string& name, const TStoredValue& v) override;
    void ClearSubkey(const std::string& subkey) override;
    void Commit() override;

    const std::string& Path() const { return path_; }
    // The file's text, as Commit writes it.
    std::string Text() const;
    // Replaces what is held by what `text` says (the reading rules above).
    void Parse(std::string_view text);

  private:
    struct TEntry {
        std::string Name;
        TStoredValue Value;
    };
    using TSection = std::vector<TEntry>;  // in the order written
    void Load();
    TSection* Section(const std::string& subkey, bool create);

    std::string path_;
    bool loaded_ = false;
    bool exists_ = false;
    std::vector<std::pair<std::string, TSection>> sections_;  // "" first
};

}  // namespace kestrova
