#pragma once
// What the "Macro Manager" and "Macro Editor" dialogs edit: the macros of one
// file with their toolbar and hot-key lines, and the editor's checks.
#include <optional>
#include <string>
#include <vector>

#include "lobby/macro_file.h"

namespace kestrova {

// One macro as the editor shows it.
struct TMacroEdit {
    std::string Name;
    std::vector<std::string> Lines;
    std::string HotKey;       // key text; empty for none
    bool Toolbar = false;     // "Show this Macro in the Toolbar as:"
    std::string Caption;      // the toolbar caption
};

// The editor's fields, for the refusal that names one.
enum class TMacroField { Name, HotKey, Caption };

struct TMacroRefusal {
    TMacroField Field;
    std::string Message;
};

class TMacroManager {
  public:
    // Reads the file (a missing one gives an empty list); only the toolbar
    // lines whose macro exists are kept.
    void Open(const std::string& fileName);
    const TMacroFile& File() const { return file_; }
    int Count() const { return static_cast<int>(file_.Macros.size()); }
    const std::string& Name(int i) const { return file_.Macros.at(static_cast<size_t>(i)).Name; }

    TMacroEdit EditOf(int i) const;
    // The editor's OK, in order: a name, not another macro's, a hot key and a
    // toolbar caption no other macro has. `editing` is the macro being
    // edited, -1 for a new one. The edit is tidied on the way (trimmed name,
    // caption defaulting to the name, hidden fields of a player macro cleared).
    std::optional<TMacroRefusal> Check(int editing, TMacroEdit& edit) const;
    // After a successful Check.
    int Add(const TMacroEdit& edit);
    void Replace(int i, const TMacroEdit& edit);
    void Delete(int i);
    // "Copy of <name>", or "Copy of <name> 1", 2, ... until free; returns its index.
    int Copy(int i);
    // Up / Down / a drag: the macro moves to `to`; false when out of range.
    bool Move(int from, int to);
    void Sort();
    // OK: toolbar lines tidied, the file backed up and rewritten whole.
    void Save(const std::string& fileName);

  private:
    void SetBindings(const TMacroEdit& edit);
    void DropBindings(const std::string& name);
    TMacroFile file_;
};

}  // namespace kestrova
