#pragma once
// Macros at work: the menus and toolbar built from the macro file, running a
// general or a player macro, and the macro-file commands.
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "lobby/hot_key.h"
#include "lobby/macro_file.h"
#include "model/tourney_state.h"

namespace kestrova {

// What LoadMacros builds: the "&Macro" menu's entries, the player pop-up's
// submenu and the macro toolbar's buttons.
struct TMacroMenus {
    struct TEntry {
        std::string Name;
        std::optional<THotKey> HotKey;  // none when missing or not a key
    };
    struct TButton {
        std::string Caption;
        std::string Macro;
    };
    std::vector<TEntry> General;
    std::vector<std::string> Player;
    std::vector<TButton> Toolbar;
};
TMacroMenus LoadMacros(const std::string& fileName);

// Runs macros. Delay lines pause through the lobby port's wait, which keeps
// the window responsive, so "&Stop" (and another macro) can run meanwhile.
class TMacroRunner {
  public:
    // Told true when the first general macro starts ("&Stop" shown, "&Macro"
    // hidden) and false when the last one ends.
    std::function<void(bool running)> RunningChanged;

    void RunMacro(TTourneyState& s, const std::string& name);
    // The player as clicked at `stage`; the macro is expanded for the
    // player's latest table from there on.
    void RunPlayerMacro(TTourneyState& s, const TPlayer& player, int stage, const std::string& name);
    // "&Stop": every running general macro ends before its next line.
    void Stop() { stopRequested_ = true; }
    bool Running() const { return running_ > 0; }
    bool StopRequested() const { return stopRequested_; }

  private:
    // Posts the lines; false when stopped.
    bool RunLines(TTourneyState& s, const std::vector<std::string>& lines, const TMsgParams& params,
                  bool stoppable);
    bool stopRequested_ = false;
    int running_ = 0;
};

// The parameters of a player macro: the player's latest table from `stage`
// on, the opponent there, its round index and the boot time left.
TMsgParams PlayerMacroParams(TTourneyState& s, const TPlayer& player, int stage);

// --- The macro file in use
constexpr size_t RecentMacroFilesMax = 5;
// MacroFileName = path, at the top of the recent files (saved).
void SetMacroFile(TTourneyState& s, const std::string& path);
// "&Save as...": copies the file in use to `path`; on success it becomes the
// file in use and joins the recent files. False when the copy failed.
bool SaveMacrosAs(TTourneyState& s, const std::string& path);

}  // namespace kestrova
