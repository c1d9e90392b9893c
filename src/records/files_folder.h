#pragma once
// "Set default folder for files...": moves the formats file and the banned
// list to another folder and makes it the files folder.
namespace kestrova {

class TTourneyState;

// Asks for the folder (IDialogs::ChooseFolder) and moves the files; on a
// failed copy warns and keeps the old folder. True when the folder changed.
bool SetFilesFolder(TTourneyState& s);

}  // namespace kestrova
