#pragma once
// A text file of named sections: "[" name "]" header lines, each followed by
// its lines. The formats file and the macro file are both kept this way.
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace kestrova {

class TMessageFile {
public:
    explicit TMessageFile(std::string fileName) : FileName(std::move(fileName)) {}

    const std::string FileName;

    // Reads the file; false (and no sections) when it does not exist.
    bool Load();
    // The same rules applied to bytes already in memory.
    void LoadFromText(std::string_view bytes);
    // Rewrites the whole file (atomically; throws std::runtime_error on failure).
    bool Save() const;
    // The bytes Save writes: each section's header, its lines and one empty
    // line, every line ending in CR LF.
    std::string SaveToText() const;

    int Count() const { return static_cast<int>(sections_.size()); }
    const std::string& Name(int i) const { return sections_.at(static_cast<size_t>(i)).Name; }
    const std::vector<std::string>& Lines(int i) const {
        return sections_.at(static_cast<size_t>(i)).Lines;
    }
    std::vector<std::string>& Lines(int i) { return sections_.at(static_cast<size_t>(i)).Lines; }
    // Index of the section with this name (letter case ignored), or -1.
    int IndexOf(std::string_view name) const;
    // The section's lines, or null.
    const std::vector<std::string>* Find(std::string_view name) const;
    // Appends a section; false, and nothing changes, when the name exists.
    bool AddSection(const std::string& name, const std::vector<std::string>& lines);
    // Renames section i (the new name must not belong to another section).
    bool Rename(int i, const std::string& name);
    void Clear();

private:
    struct TSection {
        std::string Name;
        std::vector<std::string> Lines;
    };
    std::vector<TSection> sections_;
    // Upper-cased name -> index, so that loading a file of many sections
    // stays linear.
    std::unordered_map<std::string, int> index_;
};

}  // namespace kestrova
