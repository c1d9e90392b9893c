#include "engine/tourney_file.h"

#include "engine/boots.h"

#include <stdexcept>

#include "common/file_util.h"
#include "engine/status.h"
#include "engine/table_count.h"
#include "engine/undo.h"
#include "engine/format_store.h"
#include "records/event_log.h"
#include "records/kvb_layout.h"
#include "records/kvb_reader.h"
#include "records/kvb_writer.h"

namespace kestrova {

namespace {

const char* const kOpenError =
    "An error was encountered opening the file with the error message:\r\n\r\n";
const char* const kBackupOffer = "A backup of this file exists. Do you want to load this instead?";
const char* const kUnreadableSave =
    "CRITICAL PROBLEM: Could not save the tournament, the file would not open again; the "
    "previous file was kept";

// Larger than any file the program can write (about 110 KB); what follows is
// never read, so a huge file cannot exhaust memory.
constexpr size_t MaxFileBytes = 1 << 20;

// The file's bytes; a file error throws with the system's text.
std::string ReadTourneyBytes(const std::string& path) { return ReadFileUpTo(path, MaxFileBytes); }

// The previous file becomes the backup. A hard link is as good as a copy
// here because the tournament file is never rewritten in place (every save
// renames a new file over it), and it costs nothing however large the file;
// where links are not supported the bytes are copied.
void BackupTourneyFile(const std::string& path) {
    LinkOrCopyFile(path, ChangeFileExt(path, ".~kvb"));
}

// --- Replacing the state with a file's content

constexpr int32_t kPresetRound[5] = {1, 2, 3, 4, 5};
constexpr int32_t kPresetFinal[5] = {3, 5, 5, 7, 7};

int MatchPointsMenuItem(const TTourneyState& s) {
    for (int p = 0; p < 5; ++p) {
        TRoundList row;
        row.fill(kPresetRound[p]);
        row[14] = kPresetFinal[p];
        if (s.MsgParams.MatchPoints != row) continue;
        bool tiersMatch = true;
        for (const auto& tier : s.MatchPointsTiers)
            tiersMatch = tiersMatch && tier == row;
        if (tiersMatch) return p;
    }
    return MatchPointsOther;
}

std::vector<std::unique_ptr<TPlayer>> MakePlayers(const kvb::TKvbFile& f) {
    std::vector<std::unique_ptr<TPlayer>> players;
    players.reserve(f.Players.size());
    for (const auto& kp : f.Players) {
        auto p = std::make_unique<TPlayer>();
        p->Name = kp.Name;
        p->Player1 = kp.Player1;
        p->Player2 = kp.Player2;
        p->BootStart = kp.BootStart;
        p->BootCount = kp.BootCount;
        p->BootedOut = kp.BootedOut;
        p->Disqualified = kp.Disqualified;
        players.push_back(std::move(p));
    }
    return players;
}

void ApplyFormatValues(TTourneyState& s, const kvb::TKvbFile& f) {
    s.EmailFields = f.Email;
    s.StartedAt = f.StartedAt;
    s.ClosedAt = f.ClosedAt;
    SelectFormatByName(s, f.FormatName);
    // Numbers every table for the format and dimensions the brackets for 128.
    SetElimFormat(s, static_cast<TElimFormat>(f.ElimFormat));
    s.MsgParams.MatchPoints = f.MatchPoints;
    s.MatchPointsTiers = f.Tiers;
    s.MatchPointsItem = MatchPointsMenuItem(s);

    s.MsgParams.RulesTime = f.RulesTime;
    s.MsgParams.StartTime = f.StartTime;
    s.MsgParams.HostName = f.HostName;
    s.MsgParams.CoHostName = f.CoHostName;
    s.HostPlayerName = f.HostPlayerName;
    s.CoHostPlayerName = f.CoHostPlayerName;
    s.BootTime = f.BootTime;
    if (f.HasTimeLimits) s.MsgParams.TimeLimits = f.TimeLimits;
    ClampTimingValues(s);
    s.View().HostFieldsChanged();
}

void ApplyMarkersAndPoints(TTourneyState& s, const kvb::TKvbFile& f) {
    s.WinnersFinalRound = f.WinnersFinalRound;
    s.GrandFinalRound = f.GrandFinalRound;
    s.OneLossFinalRound = f.OneLossFinalRound;
    s.OneLossLastRound = f.OneLossLastRound;
    s.TwoLossFinalRound = f.TwoLossFinalRound;
    if (f.HasPoints) {
        s.WinPoints = f.WinPoints;
        s.ByePoints = f.ByePoints;
        s.LosePoints = f.LosePoints;
        s.HostPoints = f.HostPoints;
        s.CoHostPoints = f.CoHostPoints;
        s.UnscheduleHostPoints = f.UnscheduleHostPoints;
        s.UnscheduleCoHostPoints = f.UnscheduleCoHostPoints;
        s.WinOfWinPoints = f.WinOfWinPoints;
        s.FirstMatchWinPoints = f.FirstMatchWinPoints;
    }
    // The part of the extension block a file lacks reads as 0, like the rest
    // of that block (unlike the older layout's missing points above).
    s.FixedWinOfWinPoints = f.FixedWinOfWinPoints;
    s.FirstPlacePoints = f.FirstPlacePoints;
    s.SecondPlacePoints = f.SecondPlacePoints;
    s.ThirdPlacePoints = f.ThirdPlacePoints;
    s.UnscheduledHost = f.UnscheduledHost;
    s.UnscheduledCoHost = f.UnscheduledCoHost;
    s.Started = f.Started;
    s.SignupClosed = f.SignupClosed;
    s.DoublePlayerPoints = f.DoublePlayerPoints;
    s.View().SignupStateChanged();
}

void ApplyRounds(TTourneyState& s, const kvb::TKvbFile& f) {
    for (int b = 0; b < s.BracketCount(); ++b) {
        TBracket& bracket = s.Bracket(static_cast<TBracketKind>(b));
        const auto& rounds = f.Rounds[static_cast<size_t>(b)];
        for (int r = 0; r < MaxRounds; ++r) {
            TRoundRec& round = bracket[r];
            if (r >= static_cast<int>(rounds.size())) {
                round.TableCount = 0;
                round.HasBye = false;
                continue;
            }
            const kvb::TKvbRound& kr = rounds[static_cast<size_t>(r)];
            round.TableCount = kr.TableCount;
            round.HasBye = kr.HasBye;
            for (size_t i = 0; i < kr.Tables.size(); ++i) {
                const kvb::TKvbTable& kt = kr.Tables[i];
                TTableRec& t = round.Tables[i];
                t.TableNo = kt.TableNo;
                t.Result = kt.Result;
                for (int seat = 0; seat < 2; ++seat)
                    t.Seat[seat] = kt.Seat[seat] < 0 ? nullptr : s.Players[kt.Seat[seat]].get();
                t.StartTime = kt.StartTime;
                t.EndTime = kt.EndTime;
                t.Reminded15 = t.Reminded10 = t.Reminded5 = false;
            }
        }
    }
}

void ApplyLinks(TTourneyState& s, const kvb::TKvbFile& f) {
    for (size_t i = 0; i < f.Links.size(); ++i) {
        TPlayer& p = *s.Players[i];
        for (int k = 0; k < MaxStages; ++k) {
            const kvb::TKvbLink& l = f.Links[i][static_cast<size_t>(k)];
            if (l.Bracket < 0) continue;
            p.Tables[k] = &s.Bracket(static_cast<TBracketKind>(l.Bracket))[l.Round].Tables[l.Table];
            p.Seats[k] = l.Seat;
        }
    }
}

const TTableRec* FinalTable(const TTourneyState& s, TBracketKind b, int round, int index) {
    if (round < 0 || round >= MaxRounds) return nullptr;
    return &s.Bracket(b)[round].Tables[index];
}

// Captions "<name>'s Email:" of the results panel for the places known so far.
void RebuildEmailLabels(TTourneyState& s) {
    auto label = [](const TPlayer* p) { return p ? p->Name + "'s Email:" : std::string(); };
    s.EmailLabels = {};
    if (const TTableRec* gf = FinalTable(s, TBracketKind::Winners, s.GrandFinalRound, 0)) {
        if (gf->Seat[0]) s.EmailLabels[0] = label(gf->Seat[0]);
        if (gf->Seat[1]) s.EmailLabels[1] = label(gf->Seat[1]);
    }
    const TTableRec* third = nullptr;
    switch (s.ElimFormat) {
        case TElimFormat::Single:
            third = FinalTable(s, TBracketKind::Winners, s.WinnersFinalRound, 0);
            break;
        case TElimFormat::Double:
            third = FinalTable(s, TBracketKind::OneLoss, s.OneLossFinalRound, 0);
            break;
        case TElimFormat::Triple:
            third = FinalTable(s, TBracketKind::OneLoss, s.OneLossLastRound, 0);
            break;
    }
    if (third && third->Result != 0) s.EmailLabels[2] = label(third->Seat[third->Result & 1]);
    if (s.ElimFormat == TElimFormat::Single) {
        const TTableRec* other = FinalTable(s, TBracketKind::Winners, s.WinnersFinalRound, 1);
        if (other && other->Result != 0 && other->Full())
            s.EmailLabels[3] = label(other->Seat[other->Result & 1]);
    }
    s.View().EmailLabelsChanged();
}

void ApplyFile(TTourneyState& s, const kvb::TKvbFile& f, const std::string& path) {
    auto players = MakePlayers(f);
    // Nothing may point at the old entries once they are freed: the boot
    // list, the undo snapshots and the tables all let go of them first.
    s.ActiveBoots.clear();
    ClearUndoAndRedo(s);
    ClearBrackets(s);
    s.Players = std::move(players);
    ++s.NamesVersion;
    s.SignupClosed = false;
    s.Started = false;
    s.TeamMode = f.TeamMode();
    s.View().TeamCaptionsChanged();

    ApplyFormatValues(s, f);
    ApplyMarkersAndPoints(s, f);
    ApplyRounds(s, f);
    ApplyLinks(s, f);
    s.VoidTables.assign(f.VoidTables.begin(), f.VoidTables.end());
    RecomputeHighWater(s);

    s.TourneyPath = ChangeFileExt(path, ".kvb");
    RemoveStaleTemporaries(s.TourneyPath);
    WriteLog(s, "\r\n**** Opened " + path + " ****\r\n");
    AddRecentTourney(s, s.TourneyPath);

    UpdateFullTableCount(s);
    s.SelectedTab = {};
    UpdateBracketTabs(s);
    s.View().SelectRound(TBracketKind::Winners, 0);
    s.View().SelectRound(TBracketKind::OneLoss, FirstRoundOf(TBracketKind::OneLoss));
    UpdatePlayerState(s);
    RebuildEmailLabels(s);
    // LobbyName stays for the lobby link, which looks the window up by title.
    s.LobbyName = f.LobbyName;
    if (s.Ports.RapidAssign) s.Ports.RapidAssign->TourneyOpened();
}

}  // namespace

bool SaveTourney(TTourneyState& s) {
    UpdatePlayerState(s);
    if (s.TourneyPath.empty()) return true;
    const std::string bytes = kvb::EncodeTourney(s);
    // Never write a file the program cannot open: the previous file (and the
    // backup, and the skip-backup flag) stay as they are, so the host can go
    // back to the last good state.
    if (!kvb::KvbReadable(bytes)) {
        WriteLog(s, kUnreadableSave);
        s.Dialogs().MessageBox(TMessageBoxKind::Error, kUnreadableSave);
        return false;
    }
    // A save killed midway leaves its temporary file; the next one clears it.
    RemoveStaleTemporaries(s.TourneyPath);
    if (s.SkipBackup)
        s.SkipBackup = false;
    else
        BackupTourneyFile(s.TourneyPath);
    WriteFileAtomically(s.TourneyPath, bytes);
    return true;
}

bool ReadTourney(TTourneyState& s, const std::string& path) {
    kvb::TKvbFile file;
    try {
        file = kvb::DecodeKvb(ReadTourneyBytes(path));
    } catch (const std::exception& e) {
        s.SkipBackup = true;
        s.Dialogs().MessageBox(TMessageBoxKind::Error, std::string(kOpenError) + e.what());
        return false;
    }
    ApplyFile(s, file, path);
    return true;
}

void OpenTourney(TTourneyState& s, const std::string& path) {
    if (ReadTourney(s, path)) return;
    const std::string backup = ChangeFileExt(path, ".~kvb");
    if (backup == path || !FileExists(backup)) return;
    if (!s.Dialogs().YesNo(kBackupOffer)) return;
    // The failed read set the skip-backup flag, so this save keeps the good
    // backup instead of copying the broken file over it.
    if (ReadTourney(s, backup)) SaveTourney(s);
}

int TourneyFileVersion(const std::string& path) {
    std::optional<std::string> bytes = ReadFileIfExists(path);
    if (!bytes || bytes->size() < kvb::SignatureSize ||
        bytes->compare(0, kvb::SignaturePrefix.size(), kvb::SignaturePrefix) != 0)
        return 0;
    return static_cast<uint8_t>((*bytes)[kvb::SignatureSize - 1]);
}

bool SaveTourneyAs(TTourneyState& s, const std::string& path) {
    const std::string previous = s.TourneyPath;
    s.TourneyPath = path;
    if (!SaveTourney(s)) {
        s.TourneyPath = previous;  // nothing was written there
        return false;
    }
    AddRecentTourney(s, s.TourneyPath);
    return true;
}

}  // namespace kestrova
