#pragma once
// The format manager's list: "Default" with the built-in lines and every
// format of the formats file, sorted by name, edited in memory until OK.
#include <string>
#include <vector>

#include "formats/tourney_format.h"

namespace kestrova {

// Which of the manager's buttons the selection allows.
struct TFormatButtons {
    bool Edit = false, Delete = false, Copy = false, Export = false;
};

class TFormatList {
  public:
    // "Default" and the file's formats (a section named "Default" is left out).
    void Load(const std::string& formatsPath);
    const std::vector<TTourneyFormat>& Entries() const { return entries_; }
    int Count() const { return static_cast<int>(entries_.size()); }
    const TTourneyFormat& At(int i) const { return entries_.at(static_cast<size_t>(i)); }
    std::vector<std::string> Names() const;
    bool IsDefault(int i) const;

    TFormatButtons ButtonsFor(const std::vector<int>& selected) const;

    // Each returns the new entry's place in the sorted list.
    int Add(TTourneyFormat format);
    // An edited entry; the current format's name follows a rename.
    int Replace(int i, TTourneyFormat format);
    // "Copy of " + name, or "Copy of %s %d" with 1, 2, ... while that is taken.
    int Copy(int i);
    // Removes the entries; the current name empties when it was among them.
    void Delete(std::vector<int> rows);
    std::vector<TTourneyFormat> Selected(const std::vector<int>& rows) const;

    // Copies the formats file to ".bak" and rewrites it with every entry but
    // "Default", in list order. Throws std::runtime_error and changes
    // nothing in memory when the file cannot be written.
    void Save(const std::string& formatsPath) const;

    // The current format's name as the main window should select it again.
    std::string CurrentName;

  private:
    int Sort(const std::string& keep);
    int IndexOf(const std::string& name) const;
    std::vector<TTourneyFormat> entries_;
};

}  // namespace kestrova
