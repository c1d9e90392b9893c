#include "records/settings.h"

#include <filesystem>
#include <stdexcept>
#include <system_error>

#include "model/tourney_state.h"
#include "records/player_lists.h"

#ifndef KESTROVA_VERSION_BUILD
#error "KESTROVA_VERSION_BUILD comes from the CMake project version"
#endif

namespace kestrova {

namespace {

namespace fs = std::filesystem;

constexpr const char* RecentSubkey = "RestoreMRU";
constexpr int RecentTourneyCount = 5;
constexpr int MinHeight = 300;  // the main window's least height
constexpr int MaxExtent = 100000;

std::string WithSeparator(std::string folder) {
    if (!folder.empty() && folder.back() != '/' && folder.back() != '\\') folder += '/';
    return folder;
}

// Reads values of the key by the rules of each. A value that must be present
// and is missing or of another type fails the read, after which nothing more
// is read; any other value of the wrong type is ignored.
class TReader {
  public:
    explicit TReader(ISettingsStore& store) : store_(store) {}
    bool Failed() const { return failed_; }

    TStoredValue Get(const char* name) {
        if (failed_) return {};
        try {
            return store_.Read("", name);
        } catch (const std::exception&) {
            failed_ = true;
            return {};
        }
    }
    bool Exists(const char* name) { return Get(name).Exists(); }
    // Read only when present with the integer type.
    void Int(const char* name, int& v) {
        TStoredValue x = Get(name);
        if (x.IsInteger()) v = x.Int;
    }
    void Bool(const char* name, bool& v) {
        TStoredValue x = Get(name);
        if (x.IsInteger()) v = x.Int != 0;
    }
    // Read only when present with the string type.
    void String(const char* name, std::string& v) {
        TStoredValue x = Get(name);
        if (x.IsString()) v = x.Text;
    }
    // Must be present with the integer type.
    void NeedInt(const char* name, int& v) {
        TStoredValue x = Get(name);
        if (failed_) return;
        if (x.IsInteger())
            v = x.Int;
        else
            failed_ = true;
    }
    void NeedBool(const char* name, bool& v) {
        int x = 0;
        NeedInt(name, x);
        if (!failed_) v = x != 0;
    }

  private:
    ISettingsStore& store_;
    bool failed_ = false;
};

void ReadWindowAndView(TReader& r, TAppSettings& a) {
    r.NeedInt("Left", a.Left);
    r.NeedInt("Top", a.Top);
    if (r.Exists("Bracket Arrangement")) {
        r.NeedInt("Height", a.Height);
        r.NeedInt("Bracket Arrangement", a.BracketArrangement);
    }
    r.String("Host name", a.HostName);
    r.String("Active Macro File", a.MacroFileName);
    r.String("Default location", a.FilesFolder);
    r.Bool("Show Points At End", a.ShowPointsAtEnd);
    r.Bool("Always On Top", a.AlwaysOnTop);
    r.Bool("Show Status Summary", a.ShowStatusSummary);
    r.String("Default Start Tables", a.DefaultStartTables);
    r.String("Friends Folder", a.FriendsFolder);
    if (r.Exists("Remind at 15")) {
        r.Bool("Remind at 15", a.RemindAt15);
        r.NeedBool("Remind at 10", a.RemindAt10);
        r.NeedBool("Remind at 5", a.RemindAt5);
    }
    r.Bool("Reset Boot On Assign", a.ResetBootOnAssign);
    r.Bool("Show MainMenu Lobbies", a.ShowMainMenuLobbies);
    r.Bool("Auto-Post Preview", a.AutoPostPreview);
    r.Bool("Auto-Post Loss", a.AutoPostLoss);
    r.Bool("Hide Completed Matches", a.HideCompletedMatches);
}

void ReadZonesAndOptions(TReader& r, TTourneyState& s) {
    TAppSettings& a = s.Settings;
    if (r.Get("Middle Time Zone").IsString()) {
        r.String("Middle Time Zone", a.MiddleTimeZone);
        r.NeedBool("Middle Time 24 Hour", a.MiddleTime24Hour);
    }
    if (r.Exists("Right Time Zone")) {
        r.String("Right Time Zone", a.RightTimeZone);
        r.NeedBool("Right Time 24 Hour", a.RightTime24Hour);
    }
    if (r.Exists("Confirm Notify Filter")) {
        int filter = static_cast<int>(a.ConfirmNotifyFilter);
        r.Int("Confirm Notify Filter", filter);
        a.ConfirmNotifyFilter = static_cast<uint32_t>(filter);
        r.NeedBool("Default Clear ZF List", a.DefaultClearZfList);
    }
    r.Int("Last Version Installed", a.LastVersionInstalled);
    r.Bool("Four Per Table", s.TeamMode);
    r.Bool("Cap Names", s.CapNames);
    r.Bool("All Byes in Round 2", s.AssignAllRound2Byes);
    r.Bool("Randomly Assign Byes", s.RandomRound2Byes);
    if (r.Exists("Display match time remaining")) {
        r.NeedBool("Post assignments manually", a.PostAssignmentsManually);
        r.Bool("Display match time remaining", a.DisplayMatchTimeRemaining);
    }
}

// The recent tournaments, "F0" newest first; a gap or a value of another
// type is skipped.
void ReadRecent(ISettingsStore& store, TAppSettings& a) {
    a.RecentTourneys.clear();
    for (int i = 0; i < RecentTourneyCount; ++i) {
        TStoredValue v;
        try {
            v = store.Read(RecentSubkey, "F" + std::to_string(i));
        } catch (const std::exception&) {
            return;
        }
        if (v.IsString() && !v.Text.empty()) a.RecentTourneys.push_back(v.Text);
    }
}

bool MakeFolder(const std::string& folder) {
    std::error_code ec;
    fs::create_directories(folder, ec);
    return fs::is_directory(folder, ec);
}

// What the store holds but the program cannot use gives way to the defaults:
// a window smaller than the least or larger than any screen, an unknown
// arrangement, a files folder that cannot be made, a macro file that is a
// folder. (A window placed off every screen is moved by the window itself.)
void ReplaceUnusable(TAppSettings& a, const TAppSettings& defaults) {
    if (a.Height < MinHeight || a.Height > MaxExtent) a.Height = defaults.Height;
    if (a.Left < -MaxExtent || a.Left > MaxExtent) a.Left = defaults.Left;
    if (a.Top < -MaxExtent || a.Top > MaxExtent) a.Top = defaults.Top;
    if (a.BracketArrangement != 0 && a.BracketArrangement != 1) a.BracketArrangement = 0;
    a.FilesFolder = WithSeparator(a.FilesFolder);
    if (a.FilesFolder.empty() || !MakeFolder(a.FilesFolder)) a.FilesFolder = defaults.FilesFolder;
    std::error_code ec;
    if (a.MacroFileName.empty() || fs::is_directory(a.MacroFileName, ec))
        a.MacroFileName = defaults.MacroFileName;
}

void WriteAll(ISettingsStore& st, const TTourneyState& s) {
    const TAppSettings& a = s.Settings;
    auto num = [&](const char* name, int v) { st.Write("", name, TStoredValue::Integer(v)); };
    auto flag = [&](const char* name, bool v) { num(name, v ? 1 : 0); };
    auto str = [&](const char* name, const std::string& v) {
        st.Write("", name, TStoredValue::String(v));
    };
    num("Left", a.Left);
    num("Top", a.Top);
    num("Height", a.Height);
    num("Bracket Arrangement", a.BracketArrangement);
    str("Host name", a.HostName);
    str("Active Macro File", a.MacroFileName);
    str("Default location", a.FilesFolder);
    flag("Show Points At End", a.ShowPointsAtEnd);
    flag("Always On Top", a.AlwaysOnTop);
    flag("Show Status Summary", a.ShowStatusSummary);
    flag("Remind at 15", a.RemindAt15);
    flag("Remind at 10", a.RemindAt10);
    flag("Remind at 5", a.RemindAt5);
    flag("Reset Boot On Assign", a.ResetBootOnAssign);
    flag("Show MainMenu Lobbies", a.ShowMainMenuLobbies);
    flag("Auto-Post Preview", a.AutoPostPreview);
    flag("Auto-Post Loss", a.AutoPostLoss);
    flag("Hide Completed Matches", a.HideCompletedMatches);
    str("Middle Time Zone", a.MiddleTimeZone);
    flag("Middle Time 24 Hour", a.MiddleTime24Hour);
    str("Right Time Zone", a.RightTimeZone);
    flag("Right Time 24 Hour", a.RightTime24Hour);
    num("Confirm Notify Filter", static_cast<int32_t>(a.ConfirmNotifyFilter));
    flag("Default Clear ZF List", a.DefaultClearZfList);
    flag("Four Per Table", s.TeamMode);
    flag("Cap Names", s.CapNames);
    flag("All Byes in Round 2", s.AssignAllRound2Byes);
    flag("Randomly Assign Byes", s.RandomRound2Byes);
    flag("Post assignments manually", a.PostAssignmentsManually);
    flag("Display match time remaining", a.DisplayMatchTimeRemaining);
    // This program's own: where the friends-list assistant looks on a
    // platform without the lobby client's registry value.
    if (!a.FriendsFolder.empty()) str("Friends Folder", a.FriendsFolder);
    st.ClearSubkey(RecentSubkey);
    for (size_t i = 0; i < a.RecentTourneys.size() && i < RecentTourneyCount; ++i)
        st.Write(RecentSubkey, "F" + std::to_string(i), TStoredValue::String(a.RecentTourneys[i]));
}

// Runs one write of the store; a failure is told to the host once per run.
template <class F>
void Guarded(TTourneyState& s, F&& write) {
    try {
        write(*s.Ports.Settings);
        s.Ports.Settings->Commit();
    } catch (const std::exception& e) {
        if (s.SettingsWriteWarned) return;
        s.SettingsWriteWarned = true;
        s.Dialogs().MessageBox(TMessageBoxKind::Warning,
                               std::string("The settings could not be saved: ") + e.what() +
                                   "\nThe program goes on; changed settings last until it ends.");
    }
}

}  // namespace

int RunningBuildNumber() {
    return KESTROVA_VERSION_BUILD;
}

std::string DefaultFilesFolder(const TSettingsPlaces& places) {
    if (!places.Documents.empty())
        return WithSeparator(places.Documents) + "Tarvex Kestrova Files/";
    return WithSeparator(places.Program) + "Files/";
}

bool ReadSettings(TTourneyState& s, const TSettingsPlaces& places) {
    TAppSettings defaults;
    if (s.Ports.TimeZones)
        std::tie(defaults.MiddleTimeZone, defaults.RightTimeZone) =
            s.Ports.TimeZones->DefaultKeyNames();
    else
        std::tie(defaults.MiddleTimeZone, defaults.RightTimeZone) =
            ITimeZoneStore().DefaultKeyNames();
    defaults.FilesFolder = DefaultFilesFolder(places);
    MakeFolder(defaults.FilesFolder);
    defaults.MacroFileName = defaults.FilesFolder + "Macros.kvm";
    s.Settings = defaults;
    s.TeamMode = s.CapNames = s.AssignAllRound2Byes = s.RandomRound2Byes = false;

    ISettingsStore* store = s.Ports.Settings;
    bool ok = true;
    bool exists = false;
    if (store) {
        try {
            exists = store->Exists();
        } catch (const std::exception&) {
            ok = false;
        }
    }
    if (exists) {
        TReader r(*store);
        ReadWindowAndView(r, s.Settings);
        ReadZonesAndOptions(r, s);
        ok = !r.Failed();
        ReadRecent(*store, s.Settings);
    }
    ReplaceUnusable(s.Settings, defaults);
    return ok;
}

void LoadSettings(TTourneyState& s, const TSettingsPlaces& places) {
    if (!ReadSettings(s, places))
        s.Dialogs().MessageBox(TMessageBoxKind::Warning, "Error reading configuration");
    RegisterFileType(s);
    LoadPlayerLists(s);
    s.SettingsLoaded = true;
}

void RegisterFileType(TTourneyState& s) {
    IFileTypes* types = s.Ports.FileTypes;
    if (!types || types->Registered()) return;
    if (!types->Register())
        s.Dialogs().MessageBox(TMessageBoxKind::Warning, "Error setting file associations");
}

void SaveSettings(TTourneyState& s) {
    if (!s.SettingsLoaded) return;
    if (s.Ports.Settings) Guarded(s, [&](ISettingsStore& st) { WriteAll(st, s); });
    // Every settings save rewrites both player lists as well.
    SavePlayerLists(s);
}

void SaveDefaultStartTables(TTourneyState& s, const std::string& tables) {
    s.Settings.DefaultStartTables = tables;
    if (!s.Ports.Settings) return;
    Guarded(s, [&](ISettingsStore& st) {
        st.Write("", "Default Start Tables", TStoredValue::String(tables));
    });
}

void SaveLastVersionInstalled(TTourneyState& s, int build) {
    s.Settings.LastVersionInstalled = build;
    if (!s.Ports.Settings) return;
    Guarded(s, [&](ISettingsStore& st) {
        st.Write("", "Last Version Installed", TStoredValue::Integer(build));
    });
}

}  // namespace kestrova
