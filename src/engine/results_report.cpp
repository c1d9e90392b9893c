// The results report: header, places, the points section the host sends to
// the points keeper, and the statistics block.
#include <algorithm>

#include "common/datetime.h"
#include "common/file_util.h"
#include "common/text.h"
#include "engine/points.h"
#include "engine/report_parts.h"
#include "engine/reports.h"
#include "engine/undo.h"

namespace kestrova {

namespace {

using namespace report;

const char* const kNotStarted = "Points cannot be generated until the tourney has been started";

const TTableRec& GrandFinal(const TTourneyState& s) {
    return s.Winners[std::clamp(s.GrandFinalRound, 0, MaxRounds - 1)].Tables[0];
}

const TTableRec& FirstTable(const TBracket& b, int round) {
    return b[std::clamp(round, 0, MaxRounds - 1)].Tables[0];
}

// The one-loss champion who lost the grand final may still have won its
// first game; only the host knows.
const TPlayer* AskFirstGameWinner(TTourneyState& s) {
    if (s.ElimFormat != TElimFormat::Double || s.FirstMatchWinPoints <= 0) return nullptr;
    const TPlayer* champion = FirstTable(s.OneLoss, s.OneLossFinalRound).Winner();
    const TTableRec& final = GrandFinal(s);
    if (!champion || final.Result == 0 || final.Loser() != champion) return nullptr;
    const std::string question = "Did \"" + champion->Name +
                                 "\" (the winner of the loser's bracket) win the first game in "
                                 "the final?";
    return s.Dialogs().YesNo(question) ? champion : nullptr;
}

void AddHeader(TTourneyState& s, TReportLines& out) {
    const TMsgParams& m = s.MsgParams;
    const TDateTime date = ReportDate(s);
    out.push_back("Tarvex's Kestrova Tool Version " + ProgramVersion());
    out.push_back("Tournament:  " + CurrentFormatName(s));
    out.push_back("Date:  " + FormatDateTime("mm/dd/yyyy", date, s.Locale));
    out.push_back("Day:  " + FormatDateTime("dddd", date, s.Locale));
    out.push_back("Scheduled Start:  " + m.StartTime);
    out.push_back("Actual Start:  " + FormatDateTime(s.Locale.LongTimePattern, s.StartedAt, s.Locale));
    out.push_back("Closed:  " + FormatDateTime(s.Locale.LongTimePattern, s.ClosedAt, s.Locale));
    out.push_back(HostLine("Host:  ", m.HostName, s.HostPlayerName));
    if (!m.CoHostName.empty()) out.push_back(HostLine("Co-host:  ", m.CoHostName, s.CoHostPlayerName));
    out.push_back(Format("Number of Players:  %d", static_cast<int>(s.Players.size())));
    out.push_back("");
}

std::string LoserName(const TTableRec& t) {
    const TPlayer* p = t.Loser();
    return p ? p->Name : "";
}

void AddPlaces(const TTourneyState& s, TReportLines& out) {
    const TTableRec& final = GrandFinal(s);
    // A grand final that both players quit names no one.
    if (final.Result != 1 && final.Result != 2) return;
    const int won = final.Result - 1;
    out.push_back("1st place:  " + SeatName(final, won));
    out.push_back("1st place email:  " + s.EmailFields[won]);
    out.push_back("2nd place:  " + SeatName(final, 1 - won));
    out.push_back("2nd place email:  " + s.EmailFields[1 - won]);
    if (s.ElimFormat == TElimFormat::Single) {
        const TRoundRec& semis = s.Winners[std::clamp(s.WinnersFinalRound, 0, MaxRounds - 1)];
        out.push_back("3rd place:  " + LoserName(semis.Tables[0]));
        out.push_back("3rd place email:  " + s.EmailFields[2]);
        if (semis.Tables[1].Loser()) {
            out.push_back("3rd place:  " + LoserName(semis.Tables[1]));
            out.push_back("3rd place email:  " + s.EmailFields[3]);
        }
    } else {
        const int round =
            s.ElimFormat == TElimFormat::Double ? s.OneLossFinalRound : s.OneLossLastRound;
        out.push_back("3rd place:  " + LoserName(FirstTable(s.OneLoss, round)));
        out.push_back("3rd place email:  " + s.EmailFields[2]);
    }
    out.push_back("");
}

void AddPoints(const TTourneyState& s, const TPlayer* firstGame, TReportLines& out) {
    out.push_back("START POINTS");
    for (const TPointsRow& row : PlayerPointsRows(s)) {
        long long points = row.Points;
        if (row.Player == firstGame)
            points += static_cast<long long>(s.FirstMatchWinPoints) * (s.DoublePlayerPoints ? 2 : 1);
        out.push_back(Format("%lld ", points) + row.Name);
    }
    if (s.HostPoints > 0 && !s.HostPlayerName.empty())
        out.push_back(s.HostPlayerName +
                      Format(" %d", s.UnscheduledHost ? s.UnscheduleHostPoints : s.HostPoints));
    if (s.CoHostPoints > 0 && !s.CoHostPlayerName.empty())
        out.push_back(s.CoHostPlayerName + Format(" %d", s.UnscheduledCoHost
                                                             ? s.UnscheduleCoHostPoints
                                                             : s.CoHostPoints));
    out.push_back("STOP POINTS");
    out.push_back("");
}

// Names in alphabetical order, kept so: the next save writes them so. Undo
// restores entries by position, so its stacks cannot survive the reorder.
void SortPlayersByName(TTourneyState& s) {
    const bool sorted = std::is_sorted(s.Players.begin(), s.Players.end(), [](auto& a, auto& b) {
        return CompareText(a->Name, b->Name) < 0;
    });
    if (sorted) return;
    std::stable_sort(s.Players.begin(), s.Players.end(),
                     [](auto& a, auto& b) { return CompareText(a->Name, b->Name) < 0; });
    ++s.NamesVersion;
    ClearUndoAndRedo(s);
}

void AddStatistics(TTourneyState& s, TReportLines& out) {
    out.push_back("PLAYER STATISTICS (can be imported into Excel):");
    out.push_back("Name, Wins, Losses, Byes, Boots, Booted, DQed");
    SortPlayersByName(s);
    for (const auto& p : s.Players) {
        int wins = 0, losses = 0, byes = 0;
        for (int k = 0; k < MaxStages && p->Tables[k]; ++k) {
            const TTableRec& t = *p->Tables[k];
            if (t.Result <= 0) continue;
            const int seat = p->Seats[k];
            if (t.Result - 1 != seat || seat < 0 || seat > 1)
                ++losses;
            else if (!t.Seat[1 - seat])
                ++byes;
            else
                ++wins;
        }
        out.push_back(Format("%s, %d, %d, %d, %d, %s, %s", p->Name.c_str(), wins, losses, byes,
                             p->BootCount, p->BootedOut ? "Y" : "N", p->Disqualified ? "Y" : "N"));
    }
}

}  // namespace

bool BuildResultsReport(TTourneyState& s, TReportLines& lines) {
    lines.clear();
    if (!s.Started) {
        s.Dialogs().MessageBox(TMessageBoxKind::Warning, kNotStarted);
        return false;
    }
    const TPlayer* firstGame = AskFirstGameWinner(s);
    AddHeader(s, lines);
    AddPlaces(s, lines);
    AddPoints(s, firstGame, lines);
    AddStatistics(s, lines);
    return true;
}

std::string PointsMailSubject(TTourneyState& s) {
    return "Results for " + CurrentFormatName(s) + " Tournament at " + s.MsgParams.StartTime +
           " on " + FormatDateTime("dd mmm yy", ReportDate(s), s.Locale);
}

std::string PointsMailPath(const TTourneyState& s) { return ChangeFileExt(s.TourneyPath, ".txt"); }

}  // namespace kestrova
