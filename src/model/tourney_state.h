#pragma once
// The whole tournament: three brackets of rounds and tables, the entries, the
// applied format, the lifecycle and the view-facing state. One object, owned
// by the main window for the life of the process; never copied or moved, so
// the references between tables, rounds and players stay valid.
#include <array>
#include <cstdint>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "common/datetime.h"
#include "common/ports.h"
#include "common/types.h"
#include "model/message_kind.h"
#include "model/app_settings.h"

namespace kestrova {

enum class TElimFormat : uint8_t { Single = 0, Double = 1, Triple = 2 };

// Tables searched for a free seat, and table boxes of each bracket's view.
constexpr int SeatSearchBound[3] = {64, 32, 24};

struct TRoundRec;
struct TPlayer;
class TTourneyState;

struct TTableRec {
    int32_t TableNo = 0;
    int32_t Result = 0;  // 0 open, 1 seat 0 won, 2 seat 1 won, 4 both quit
    std::array<TPlayer*, 2> Seat{};
    TDateTime StartTime = 0;
    TDateTime EndTime = 0;
    bool Reminded15 = false, Reminded10 = false, Reminded5 = false;
    TRoundRec* Round = nullptr;

    TPlayer* Winner() const { return (Result == 1 || Result == 2) ? Seat[Result - 1] : nullptr; }
    TPlayer* Loser() const { return (Result == 1 || Result == 2) ? Seat[Result % 2] : nullptr; }
    bool Empty() const { return !Seat[0] && !Seat[1]; }
    bool Full() const { return Seat[0] && Seat[1]; }
};

struct TRoundRec {
    int32_t RoundNumber = 0;  // index + 1
    int32_t TableCount = 0;   // tables in use
    bool HasBye = false;      // the last table in use is the bye table
    int32_t HighWater = 0;    // tables at this index and beyond have never held anyone
    int32_t Expected = 0;     // entries the round receives, as last counted
    TBracketKind Bracket = TBracketKind::Winners;
    std::array<TTableRec, MaxTablesPerRound> Tables{};

    int Index() const { return RoundNumber - 1; }
};

using TBracket = std::array<TRoundRec, MaxRounds>;

struct TPlayer {
    std::string Name;
    std::string Player1, Player2;  // team mode
    TDateTime BootStart = 0;
    int32_t BootCount = 0;
    bool BootedOut = false;
    bool Disqualified = false;
    int32_t Points = 0;
    std::array<TTableRec*, MaxStages> Tables{};  // table of each stage, null = not reached
    std::array<int32_t, MaxStages> Seats{};

    // The highest stage with a table, or -1.
    int LastStage() const;
    TTableRec* CurrentTable() const;
};

// Snapshots are the engine's type (engine/undo.h). A shared_ptr keeps the
// deleter it was made with, so the state can free its stacks without
// knowing the type; each snapshot is still held by one stack only.
class TUndoRedo;
using TUndoStack = std::vector<std::shared_ptr<TUndoRedo>>;

// Message posting of the engine's announcements (the formats layer implements
// it with the templates; tests may record instead).
class IAnnouncer {
public:
    virtual ~IAnnouncer() = default;
    // Posts the template of `kind` with state.MsgParams.
    virtual void Post(TTourneyState& state, TMessageKind kind, bool automatic) = 0;
};

// The friends-list assistant, as far as the engine and the lifecycle need it
// (lobby/rapid_assign_control implements it).
class IRapidAssign {
public:
    virtual ~IRapidAssign() = default;
    // An entry left the sign-ups: its name leaves the friends list too.
    virtual void RemoveName(const std::string& name) { (void)name; }
    virtual void SignupsClosed() {}
    // A tournament file was opened.
    virtual void TourneyOpened() {}
    // A new tournament started with the dialog's "Assign players when..."
    // choice: 0 "Not used", 1 "added to ZF", 2 "removed from ZF".
    virtual void NewTourney(int choice) { (void)choice; }
};

// The outside world as the core sees it. Unset ports fall back to defaults.
struct TPorts {
    IDialogs* Dialogs = nullptr;
    IClock* Clock = nullptr;
    IView* View = nullptr;
    ILobbyPort* Lobby = nullptr;
    ILobbyWindows* LobbyWindows = nullptr;
    ISettingsStore* Settings = nullptr;
    IAnnouncer* Announcer = nullptr;
    IRapidAssign* RapidAssign = nullptr;
    IFileTypes* FileTypes = nullptr;
    ITimeZoneStore* TimeZones = nullptr;
};

// Items of the "Match points" menu: the five presets, then "Other...".
constexpr int MatchPointsOther = 5;

class TTourneyState {
public:
    TTourneyState();
    ~TTourneyState();
    TTourneyState(const TTourneyState&) = delete;
    TTourneyState& operator=(const TTourneyState&) = delete;

    // --- Brackets and entries
    TBracket Winners, OneLoss, TwoLoss;
    std::vector<std::unique_ptr<TPlayer>> Players;
    TIntList VoidTables;
    int32_t WinnersFinalRound = 0;
    int32_t OneLossFinalRound = 0;
    int32_t TwoLossFinalRound = 0;
    int32_t OneLossLastRound = 0;
    int32_t GrandFinalRound = 0;
    TElimFormat ElimFormat = TElimFormat::Single;
    bool Started = false;
    bool TeamMode = false;
    bool CapNames = false;
    bool AssignAllRound2Byes = false;
    bool RandomRound2Byes = false;
    int32_t RoomTableCount = 150;
    TRoundList StartTable{50, 90, 1, 80, 110, 130, 140, 80, 98, 30, 60, 90, 120, 148, 150};
    TUndoStack UndoList, RedoList;
    std::string FindText;
    int32_t FoundTableNo = 0;
    std::string FoundStatus;  // the "Round/Table:" box
    bool OnePerTable = true;  // the "One player/table" box
    std::array<std::vector<std::string>, 3> TabCaptions;  // round tabs per bracket
    std::array<int, 3> SelectedTab{};                      // selected tab per bracket

    // --- Lifecycle and file
    std::string TourneyPath;
    bool SkipBackup = false;
    bool SignupClosed = false;
    TDateTime StartedAt = 0;
    TDateTime ClosedAt = 0;
    std::string HostPlayerName, CoHostPlayerName;
    bool UnscheduledHost = false, UnscheduledCoHost = false;
    std::string LobbyName;         // the chosen room's title; empty: "&Disabled"
    TWindowHandle FParentLobbyWnd = 0;  // the chosen room window
    TWindowHandle FLobbyEditWnd = 0;    // its chat input; 0 when none or not found
    std::array<std::string, 4> EmailFields;  // the results panel's e-mail fields
    std::array<std::string, 4> EmailLabels;  // their captions ("<name>'s Email:")

    // --- Applied format
    std::array<std::string, MessageKindCount> Messages;
    TMsgParams MsgParams;  // carries HostName, CoHostName, times, MatchPoints, TimeLimits
    std::array<TRoundList, 5> MatchPointsTiers{};
    TRoundList WinPoints{}, ByePoints{}, LosePoints{};
    int32_t FirstPlacePoints = 0, SecondPlacePoints = 0, ThirdPlacePoints = 0;
    int32_t HostPoints = 0, CoHostPoints = 0;
    int32_t UnscheduleHostPoints = 0, UnscheduleCoHostPoints = 0;
    int32_t WinOfWinPoints = 0, FixedWinOfWinPoints = 0, FirstMatchWinPoints = 0;
    int32_t BootTime = 7;
    bool DoublePlayerPoints = false;
    std::vector<std::string> FormatNames;  // the Format menu after "Default"
    std::string CurrentFormat = "Default";  // caption of the checked entry; empty = none
    int MatchPointsItem = 2;                // checked "Match points" item, MatchPointsOther = "Other..."
    std::string Title = "Tarvex Kestrova";

    // --- Timing
    std::vector<TPlayer*> ActiveBoots;  // not owned
    double MiddleZoneBias = 0, RightZoneBias = 0;  // minutes, for %e %w %< %>
    std::string MiddleClockFormat, RightClockFormat;  // the status bar's zone clocks

    // --- Settings, side lists, locale
    TAppSettings Settings;
    std::vector<std::string> BannedPlayers;
    std::vector<std::string> RecentPlayers;
    TLocaleInfo Locale;
    bool SettingsLoaded = false;
    bool SettingsWriteWarned = false;  // the host is told once that settings cannot be written
    bool LogToFile = true;  // benchmarks and bulk tests switch the event log off
    // Bumped whenever a table number changes, so undo snapshots can share one
    // copy of the numbers while they stay the same.
    uint64_t TableNoVersion = 1;
    std::shared_ptr<const std::vector<int16_t>> TableNoCache;
    // The same for the entries' names (bumped by every rename and sign-up).
    uint64_t NamesVersion = 1;
    std::shared_ptr<const void> NamesCache;
    uint64_t NamesCacheVersion = 0;
    // The pieces of the last undo snapshot taken, for the next one to share.
    std::shared_ptr<void> UndoPieces;
    uint64_t TableNoCacheVersion = 0;

    // --- Ports and randomness
    TPorts Ports;
    std::mt19937 Random{std::random_device{}()};

    // Helpers
    TBracket& Bracket(TBracketKind b);
    const TBracket& Bracket(TBracketKind b) const;
    int BracketCount() const { return static_cast<int>(ElimFormat) + 1; }
    bool UsesBracket(TBracketKind b) const { return static_cast<int>(b) < BracketCount(); }

    IDialogs& Dialogs();
    IView& View();
    ILobbyPort& Lobby();
    ILobbyWindows& LobbyWindows();
    TDateTime Now();
};

// A seat of a table, as a bracket view shows it.
struct TSeatRef {
    TBracketKind Bracket = TBracketKind::Winners;
    int Round = 0;
    int Table = 0;
    int Seat = 0;
};

// A lobby chat input is known: postings reach the room, not only the clipboard.
inline bool ChatInputKnown(const TTourneyState& s) { return s.FLobbyEditWnd != 0; }

// Caption of the checked format entry, or empty.
inline std::string CurrentFormatName(const TTourneyState& s) { return s.CurrentFormat; }

// Bracket of a table (through its round).
inline TBracketKind BracketOf(const TTableRec& t) { return t.Round->Bracket; }
inline int RoundOf(const TTableRec& t) { return t.Round->Index(); }
int TableIndexOf(const TTableRec& t);
// Records that a table holds (or held) an entry: undo snapshots look no further.
void MarkTableUsed(TTableRec& t);
// After tables were filled from outside (a file read).
void RecomputeHighWater(TTourneyState& s);
int SeatOf(const TTableRec& t, const TPlayer* p);  // -1 if not seated there
int StageAt(const TPlayer& p, const TTableRec& t);  // the entry's stage at t, -1 if none

}  // namespace kestrova
