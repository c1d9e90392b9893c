#pragma once
// The macro file: named macros of chat lines, their hot keys and toolbar
// buttons, kept as a sectioned text file (TMessageFile).
//
//   [_Toolbar_]   macro name=caption   (older files: LineN=macro name)
//   [_HotKeys_]   macro name=key text
//   [<macro>]     Line00="first line"  Line01="a ""quoted"" word" ...
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace kestrova {

inline constexpr const char* ToolbarSection = "_Toolbar_";
inline constexpr const char* HotKeysSection = "_HotKeys_";
inline constexpr const char* DefaultMacroFile = "Macros.kvm";
inline constexpr const char* MacroBackupExt = ".~kvm";

struct TMacro {
    std::string Name;
    std::vector<std::string> Lines;
};

// A line of "_Toolbar_" or "_HotKeys_": the macro and its caption or key text.
struct TMacroBinding {
    std::string Macro;
    std::string Text;
};

// A text quoted for the file: in double quotation marks, inner ones doubled.
std::string QuoteMacroLine(std::string_view text);
// The value of a stored line (after its first "="), unquoted; a value that
// does not begin with a quotation mark is an empty line, and one whose
// closing mark is missing reads to its end.
std::string UnquoteMacroLine(std::string_view stored);

// "%p", "%o", "%r" or "%t" (lower case only) make a macro a player macro.
bool IsPlayerMacro(const std::vector<std::string>& lines);
bool IsPlayerMacroText(std::string_view text);
// The pause of a delay line (".<DELAY:2.50>" is 2500 ms), or nothing for an
// ordinary line.
std::optional<int> DelayMilliseconds(std::string_view line);

class TMacroFile {
  public:
    std::vector<TMacro> Macros;           // in file order
    std::vector<TMacroBinding> Toolbar;   // every "_Toolbar_" line, older ones converted
    std::vector<TMacroBinding> HotKeys;   // every "_HotKeys_" line as it stands

    // Reads the file; false (and nothing read) when it does not exist.
    bool Load(const std::string& fileName);
    void LoadFromText(std::string_view bytes);
    // "_Toolbar_", "_HotKeys_", then every macro, lines as Line00, Line01, ...
    std::string SaveToText() const;
    // Copies the file to its ".~kvm" backup, then rewrites it atomically.
    void Save(const std::string& fileName) const;

    int IndexOf(std::string_view name) const;  // letter case ignored; -1 if none
    // Upper-cased name -> index of its first macro, for many lookups at once.
    std::unordered_map<std::string, int> NameIndex() const;
    // The text kept for a macro (its first line in the section), or null.
    const std::string* HotKeyOf(std::string_view macro) const;
    const std::string* CaptionOf(std::string_view macro) const;
    // Toolbar lines whose macro exists, ordered as their macros are.
    void TidyToolbar();
};

// The lines of one macro as the file holds them now (empty when the file or
// the macro is gone): a running macro reads them once, when it starts.
std::vector<std::string> ReadMacroLines(const std::string& fileName, std::string_view name);

}  // namespace kestrova
