#include "records/files_folder.h"

#include "common/text.h"
#include "model/tourney_state.h"
#include "records/confirm.h"
#include "common/file_util.h"
#include "records/player_lists.h"

namespace kestrova {

namespace {
constexpr const char* FormatsFileName = "Tourney Formats.ini";
}  // namespace

bool SetFilesFolder(TTourneyState& s) {
    const std::string oldFolder = s.Settings.FilesFolder;
    auto chosen =
        s.Dialogs().ChooseFolder("Select the folder to store all Kestrova files into:", oldFolder);
    if (!chosen || chosen->empty()) return false;
    std::string folder = *chosen;
    if (folder.back() != PathSeparator) folder += PathSeparator;
    if (SameText(folder, oldFolder)) return false;

    // The banned list is copied only after the formats file made it, so a
    // failure leaves the old folder complete.
    bool copied =
        CopyFileAtomically(oldFolder + FormatsFileName, folder + FormatsFileName) &&
        CopyFileAtomically(oldFolder + BannedPlayersFileName, folder + BannedPlayersFileName);
    if (!copied) {
        s.Dialogs().MessageBox(
            TMessageBoxKind::Warning,
            "Could not move the format file to the new location, leaving it as it was.");
        return false;
    }
    RemoveFile(oldFolder + FormatsFileName);
    RemoveFile(oldFolder + BannedPlayersFileName);
    s.Settings.FilesFolder = folder;
    SaveSettings(s);
    return true;
}

}  // namespace kestrova
