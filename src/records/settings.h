#pragma once
// Reading and writing the per-user settings through the typed store
// (ISettingsStore): which values are read and when, the defaults, the
// warnings, and the order in which SaveSettings writes them.
#include <string>

namespace kestrova {

class TTourneyState;
struct TAppSettings;

// Where the default files folder comes from: the user's documents folder
// (empty when it cannot be determined) and the program's own folder.
struct TSettingsPlaces {
    std::string Documents;
    std::string Program;
};

// The build number of the running program (the fourth part of its version).
int RunningBuildNumber();

// The default files folder: documents + "Tarvex Kestrova Files/", or the
// program's folder + "Files/"; always ending in '/'.
std::string DefaultFilesFolder(const TSettingsPlaces& places);

// Steps 1 to 3 of LoadSettings: the defaults (the files folder created), then
// every value the store holds by its reading rule, then what cannot be used
// replaced by its default. False after a failed required read ("Error
// reading configuration" is the caller's); the values read before it stay.
bool ReadSettings(TTourneyState& s, const TSettingsPlaces& places);

// The whole start-up read: ReadSettings, its warning, RegisterFileType, the
// player lists, then SettingsLoaded.
void LoadSettings(TTourneyState& s, const TSettingsPlaces& places);

// Registers the tournament file type unless it is registered;
// "Error setting file associations" on failure.
void RegisterFileType(TTourneyState& s);

// Saves the settings (and the player lists) through the settings port, once
// they have been loaded. A store that cannot be written is reported once; the
// player lists are written all the same.
void SaveSettings(TTourneyState& s);

// Values with writers of their own (not written by SaveSettings).
void SaveDefaultStartTables(TTourneyState& s, const std::string& tables);
void SaveLastVersionInstalled(TTourneyState& s, int build);

}  // namespace kestrova
