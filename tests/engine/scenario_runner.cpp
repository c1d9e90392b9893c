// Every scenario of tests/data/engine, played by one runner: one test a file,
// scenarios headed by "== title", one action or expectation a line.
//
// The scenario language. P01, P02, ... are the entries in sign-up order (the
// engine names them P001, ...); a place is a bracket letter (W, O, T), a
// round and a table, counted from 0 ("W1.0"), and a seat adds ".0" or ".1";
// "GF" is the grand final's table, "OLL" the one-loss bracket's last table.
// After every action the model's invariants hold; at the end the tournament
// is saved and reopened and must be the same.
//
// Actions:
//   start Double 16 [byes] [autoloss] [manual] [open] [log]   16 entries,
//       sign-ups closed; options: round-2 byes planned, losses posted (in a
//       lobby room), assignments posted by hand, sign-ups kept open, event log
//   signup 16 (more entries, sign-ups open), add Ann Lee (typed into the
//       sign-ups, escapes allowed), seat 3 1 amy (a name given table 3, seat 1)
//   win P01 | win W0.3.1 (alone: a forced bye), release W0.0.0 (the button
//       released), withdraw P01 k (the entry's win at stage k released)
//   remove P01 | remove W1.0.1, bothquit W2.0, disqualify W0.0.0
//   void N ("Don't assign to this table number"), number W0.4 90 (edited),
//   starttable 13 150 (round index 13's start table, during sign-up)
//   move P01 N [win]   reassign: to number N in the round (with "win": the
//       win, and to N in the next round); relocate P16 W0.7 (from that table)
//   booted P05, booting P05 60 (60 seconds), boot W0.1.0 (counting down), bootbutton
//       T2.0.1 (the host's button), post P05 | W1.0.0 (its next assignment | the copy
//       button), wait 60 (seconds), winpoints 3 100 (every win's points, first place's)
//   undo, redo, reopen (saved, opened again, played on from the file), reset
//   sweep W0 [n]       seat 0 wins the round's first n tables (all)
//   zero until full GF | zero until decided | zero until complete W1
//                      seat 0 wins every playable table in order
//   random 7           random results (seed 7) until nothing is playable
//   answer yes [always] | answer no   the next confirmation's answer ("Don't ask me again")
//   rename W0.0.0 P099 | - (a name edited, or erased), find p002 (typed, table located)
//   team on, onepertable off, ban Bob zed, voided 51 53-55 | voided all (sign-up
//       tables left out), allstart, close, file (every change saved to a file),
//       properties W0.2.1 The Aces|ann|   (team, first and second names)
// Expectations:
//   expect W1.0 = P01 -     who sits there ("-": nobody); also: W0.0 result 1,
//       W1.0 idle | started | unended (its times), empty | full | cancellable,
//       number 90
//   expect P01 at W1.1 | in O | wins stage 1 | stage 2 (its last; -1: none)
//   expect P01 disqualified | qualified, winner GF P05 | winner GF !P09
//   expect decided | open (the grand final), nobody waiting | somebody waiting
//   expect unchanged        the last action changed nothing (nor the undo list)
//   expect unasked          the last action asked nothing
//   expect posted Bye | Thank you      the last action's postings, by key
//   expect posting 1 name P01 opponent - round 1 table 90 boot 360
//   expect notice TEXT | asked TEXT | message TEXT (the last one of its kind)
//   expect quiet (no message box at all), undo N, players N, logged TEXT,
//       saved (the file on disk holds the state), stacks 1 0 (undo, redo sizes)
//   expect snapshot below 65536, located O1 (the round shown),
//       told scroll 0 0 2 (the view was told so by the last add or find)
//   expect SUBJECT = TEXT   what the host reads there (see Observe): count O1
//       ("5 bye"), counts O (every round's, "3*": with a bye), final GF (or
//       WF, OF, OL, TF: the markers), numbers W1, tabs T, label W3, index W3,
//       start W1.0 (seconds after the start), stage P05 GF, inuse W1 77,
//       byes W1, email 1, signups (the count label), points P05, found (the find box's
//       table, text and status), findbox, recent (the recent players list),
//       highlight W1.0.1, seated W0.0 (the names as they stand), team W0.2.1,
//       reassign W1.0.0 text | opponent |
//       this | next | flags, menu W0.1.1 [button] [macros] (enabled items)
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <random>
#include <sstream>

#include "common/file_util.h"
#include "common/text.h"
#include "engine/corrections.h"
#include "engine/next_assign.h"
#include "engine/play_helpers.h"
#include "engine/results.h"
#include "engine/signup.h"
#include "engine/status.h"
#include "engine/table_count.h"
#include "engine/table_numbers.h"
#include "engine/tourney_file.h"
#include "engine/undo.h"
#include "fakes/case_file.h"
#include "fakes/reopen_check.h"
#include "fakes/state_dump.h"
#include "session/lifecycle.h"
#include "timing/boot_timer.h"
#include "timing/match_clock.h"
#include "timing/start_tables.h"

namespace kestrova::testing {
namespace {

struct TScenario {
    std::string Title;
    std::vector<std::string> Lines;
    int FirstLine = 0;  // in its file, for failure messages
};

std::vector<TScenario> ReadScenarios(const std::string& path) {
    std::vector<TScenario> out;
    std::ifstream in(path);
    std::string line;
    for (int n = 1; std::getline(in, line); ++n) {
        if (line.rfind("== ", 0) == 0) {
            out.push_back({line.substr(3), {}, n});
        } else if (!out.empty() && !line.empty() && line[0] != '#') {
            out.back().Lines.push_back(line);
        }
    }
    return out;
}

class TScenarioPlay {
  public:
    TScenarioPlay() {
        world_.Wire(s_, &announcer_);
        s_.LogToFile = false;
    }
    void Line(const std::string& line);
    void End();

  private:
    void Act(const std::string& op, std::istringstream& words);
    void Start(const std::string& format, int entries, std::istringstream& options);
    void Expect(std::istringstream& words);
    std::string Observe(const std::string& subject);
    void ExpectPosting(size_t n, std::istringstream& fields);
    TPlayer* Entry(const std::string& word);
    TSeatRef Place(const std::string& word);
    TTableRec& Table(const std::string& word) {
        const TSeatRef at = Place(word);
        return s_.Bracket(at.Bracket)[at.Round].Tables[at.Table];
    }
    TRoundRec& Round(const std::string& w) { return s_.Bracket(Place(w).Bracket)[Place(w).Round]; }
    TSeatRef At(TPlayer* p) {
        const int k = p->LastStage();
        const TTableRec& t = *p->Tables[k];
        return {BracketOf(t), RoundOf(t), TableIndexOf(t), p->Seats[k]};
    }
    void PlaySeatZeroUntil(const std::string& what, std::istringstream& words);
    bool NobodyWaiting() const {
        for (const auto& p : s_.Players)
            if (const TTableRec* t = p->CurrentTable(); t && t->Result == 0) return false;
        return true;
    }
    static std::string Name(const TPlayer* p) {
        return p ? Format("P%02d", std::atoi(p->Name.c_str() + 1)) : "-";
    }

    TempDir dir_;
    FakeWorld world_;
    RecordingAnnouncer announcer_;
    TTourneyState s_;
    TDateTime started_ = world_.Clock.Time;
    std::string before_;
    size_t undoBefore_ = 0, postedBefore_ = 0, askedBefore_ = 0;
};

TPlayer* TScenarioPlay::Entry(const std::string& word) {
    const std::string name = Format("P%03d", std::stoi(word.substr(1)));
    for (auto& p : s_.Players)
        if (p->Name == name) return p.get();
    ADD_FAILURE() << "no entry " << word;
    return nullptr;
}

TSeatRef TScenarioPlay::Place(const std::string& word) {
    // "GF" and "OLL", with ".1" for seat 1.
    const int seat = word.size() > 2 && word[word.size() - 2] == '.' ? word.back() - '0' : 0;
    if (word.rfind("GF", 0) == 0) return {TBracketKind::Winners, s_.GrandFinalRound, 0, seat};
    if (word.rfind("OLL", 0) == 0) return {TBracketKind::OneLoss, s_.OneLossLastRound, 0, seat};
    TSeatRef at;
    at.Bracket = word[0] == 'O'   ? TBracketKind::OneLoss
                 : word[0] == 'T' ? TBracketKind::TwoLoss
                                  : TBracketKind::Winners;
    std::vector<int> n;
    std::istringstream parts(word.substr(1));
    for (std::string part; std::getline(parts, part, '.');)
        n.push_back(std::stoi(part));
    n.resize(3);  // round, table, seat: 0 where not given
    return {at.Bracket, n[0], n[1], n[2]};
}

void TScenarioPlay::Line(const std::string& line) {
    SCOPED_TRACE(line);
    std::istringstream words(line);
    std::string op;
    words >> op;
    if (op == "expect") return Expect(words);
    before_ = DumpState(s_);
    undoBefore_ = s_.UndoList.size();
    postedBefore_ = announcer_.Postings.size();
    askedBefore_ = world_.Dialogs.Asked.size();
    Act(op, words);
    ASSERT_EQ(CheckInvariants(s_), "") << DumpState(s_);
}

void TScenarioPlay::Act(const std::string& op, std::istringstream& words) {
    std::string a, b;
    words >> a >> b;
    auto seat = [&](const std::string& w) { return w[0] == 'P' ? At(Entry(w)) : Place(w); };
    if (op == "start") {
        Start(a, std::stoi(b), words);
    } else if (op == "win" || op == "release") {
        const TSeatRef at = seat(a);
        world_.View.Calls.clear();
        WinButtonClicked(s_, at.Bracket, at.Round, at.Table, at.Seat, op == "win");
    } else if (op == "withdraw") {
        TPlayer* p = Entry(a);
        const TTableRec& t = *p->Tables[std::stoi(b)];
        AssignWin(s_, BracketOf(t), RoundOf(t), TableIndexOf(t), p->Seats[std::stoi(b)], false,
                  false);
    } else if (op == "remove") {
        RemovePlayer(s_, seat(a));
    } else if (op == "bothquit") {
        BothPlayersQuit(s_, seat(a));
    } else if (op == "disqualify") {
        DisqualifyPlayer(s_, seat(a));
    } else if (op == "number") {  // "number W0.4 90": the table's number edited
        const TSeatRef at = Place(a);
        EditTableNumber(s_, at.Bracket, at.Round, at.Table, b);
    } else if (op == "void") {
        ToggleVoidTable(s_, std::stoi(a));
    } else if (op == "starttable") {  // "starttable 13 150": one round's start table, as the dialog
                                      // sets it
        TRoundList row = s_.StartTable;
        row[std::stoul(a)] = std::stoi(b);
        ApplyStartTables(s_, row);
    } else if (op == "move") {  // "move P01 92 [win]"
        std::string win;
        words >> win;
        CarryOutReassign(s_, BuildReassign(s_, seat(a)), win == "win", b);
    } else if (op == "relocate") {
        RelocatePlayer(s_, Place(b).Round, Place(b).Table, *Entry(a), Round(b));
    } else if (op == "winpoints") {  // "winpoints 3 100": every win 3, first place 100 more
        s_.WinPoints.fill(std::stoi(a)), s_.FirstPlacePoints = std::stoi(b);
    } else if (op == "booted") {
        Entry(a)->BootedOut = true;
    } else if (op == "booting") {
        Entry(a)->BootStart = world_.Clock.Time - std::stoi(b) / SecondsPerDay;
    } else if (op == "post") {
        const TSeatRef at = seat(a);
        if (a[0] == 'P') PostNextAssign(s_, *Entry(a));
        if (a[0] != 'P') CopyForPlayer(s_, at.Bracket, at.Round, at.Table, at.Seat);
    } else if (op == "wait") {
        world_.Clock.AdvanceSeconds(std::stoi(a));
    } else if (op == "undo" || op == "redo") {
        op == "undo" ? Undo(s_) : Redo(s_);
    } else if (op == "reopen") {
        const std::string path = dir_.File("reopen.kvb");
        ASSERT_EQ(ReopenDiff(s_, path), "") << DumpState(s_);
        ASSERT_TRUE(ReadTourney(s_, path));
        s_.TourneyPath.clear();
    } else if (op == "zero") {  // "zero until <what> [place]"
        PlaySeatZeroUntil(b, words);
    } else if (op == "sweep") {  // "sweep W0 [n]": seat 0 wins the round's first n tables
        const TSeatRef at = Place(a);
        const int n = b.empty() ? s_.Bracket(at.Bracket)[at.Round].TableCount : std::stoi(b);
        for (int t = 0; t < n; ++t)
            AssignWin(s_, at.Bracket, at.Round, t, 0, true, false);
    } else if (op == "random") {  // "random 7": random results until nothing is playable
        std::mt19937 rng(static_cast<unsigned>(std::stoi(a)));
        while (PlayRandomResult(s_, rng))
            ASSERT_EQ(CheckInvariants(s_), "") << DumpState(s_);
    } else if (op == "answer") {
        a == "yes" ? world_.Dialogs.AnswerYes(b == "always") : world_.Dialogs.AnswerNo();
    } else if (op == "signup") {  // "signup 16": 16 more entries, sign-ups open (Double)
        if (s_.Players.empty()) SetElimFormat(s_, TElimFormat::Double);
        for (int i = 0; i < std::stoi(a); ++i)
            AddPlayer(s_, Format("P%03d", static_cast<int>(s_.Players.size()) + 1));
    } else if (op == "rename") {  // "rename W0.0.0 P099" ("-": the name erased)
        std::string more;
        std::getline(words, more);
        const TSeatRef at = Place(a);
        EditPlayerName(s_, at.Bracket, at.Round, at.Table, at.Seat, b == "-" ? "" : b + more);
    } else if (op == "find") {  // "find p002": typed into the find box, then located
        world_.View.Calls.clear();
        FindPlayer(s_, a);
        LocateTable(s_);
    } else if (op == "reset") {
        ResetTourneyState(s_);
    } else if (op == "add" || op == "seat") {  // "add Ann Lee", "seat 3 1 amy" (table, seat)
        std::string name;
        std::getline(words >> std::ws, name);
        world_.View.Calls.clear();
        if (op == "add") AddPlayer(s_, Unescape(Trim(a + " " + b + " " + name)));
        if (op == "seat") AddPlayer(s_, name, std::stoi(a), false, false, std::stoi(b));
    } else if (op == "team" || op == "onepertable") {  // "team on", "onepertable off"
        op == "team" ? SetTeamMode(s_, a == "on") : SetOnePerTable(s_, a == "on");
    } else if (op == "ban") {  // "ban Bob zed"
        s_.BannedPlayers = {a, b};
    } else if (op == "voided") {  // "voided 51 53-55" | "voided all": sign-up tables left out
        for (int i = 0; a == "all" && i < MaxTablesPerRound; ++i)
            s_.VoidTables.push_back(s_.Winners[0].Tables[i].TableNo);
        for (std::istringstream n(a + " " + b); a != "all" && n >> a;)
            for (int no = std::stoi(a); no <= std::stoi(a.substr(a.find('-') + 1)); ++no)
                s_.VoidTables.push_back(no);
    } else if (op == "boot" || op == "bootbutton") {  // "boot W0.1.0": counting down
        TMatchClock clock;
        if (op == "boot") s_.ActiveBoots.push_back(Table(a).Seat[Place(a).Seat]);
        if (op == "bootbutton") ToggleBoot(s_, clock, Place(a));  // the seat's button
    } else if (op == "file") {  // from now on every change is saved to a file
        s_.TourneyPath = dir_.File("saved.kvb");
    } else if (op == "allstart" || op == "close") {
        world_.View.Calls.clear();
        op == "close" ? CloseSignups(s_) : AllStart(s_);
    } else if (op == "properties") {  // "properties W0.2.1 The Aces|ann|"
        std::string rest;
        std::getline(words, rest);
        std::istringstream parts(b + rest);
        std::string f[3];
        for (std::string& field : f)
            std::getline(parts, field, '|');
        const TSeatRef at = Place(a);
        ApplyTeamProperties(s_, at.Bracket, at.Round, at.Table, at.Seat, f[0], f[1], f[2]);
    } else {
        FAIL() << "unknown action " << op;
    }
}

void TScenarioPlay::Start(const std::string& format, int entries, std::istringstream& options) {
    bool open = false;
    for (std::string option; options >> option;) {
        open |= option == "open";
        s_.AssignAllRound2Byes |= option == "byes";
        s_.Settings.PostAssignmentsManually |= option == "manual";
        if (option == "autoloss") {
            s_.Settings.AutoPostLoss = true;
            world_.AttachRoom(s_);
        }
        if (option == "log") {
            s_.LogToFile = true;
            s_.TourneyPath = dir_.File("t.kvb");
        }
    }
    static const char* const kFormats[] = {"Single", "Double", "Triple"};
    for (int f = 0; f < 3; ++f)
        if (format == kFormats[f]) SetElimFormat(s_, static_cast<TElimFormat>(f));
    SeatEntries(s_, entries);
    if (!open) CloseSignups(s_);
}

void TScenarioPlay::PlaySeatZeroUntil(const std::string& what, std::istringstream& words) {
    std::string where;
    words >> where;
    auto done = [&] {
        if (what == "decided") return GrandFinalDecided(s_);
        if (what == "full") return Table(where).Full();
        return RoundComplete(s_.Bracket(Place(where).Bracket)[Place(where).Round]);
    };
    for (int guard = 0; guard < 400 && !done(); ++guard) {
        const std::vector<TPlayable> open = PlayableTables(s_, false);
        ASSERT_FALSE(open.empty()) << DumpState(s_);
        const TPlayable& t = open.front();
        AssignWin(s_, t.Bracket, t.Round, t.Table, 0, true, false);
    }
    ASSERT_TRUE(done()) << DumpState(s_);
}

void TScenarioPlay::Expect(std::istringstream& words) {
    std::string what, a, b, c;
    std::string rest;
    std::getline(words >> std::ws, rest);
    static const std::string kSubjects =
        " counts count final numbers tabs label signups index start stage inuse email byes "
        "reassign menu found highlight seated team findbox recent points ";
    const size_t eq = (rest + " ").find(" = ");
    if (eq != std::string::npos &&
        kSubjects.find(" " + rest.substr(0, rest.find(' ')) + " ") != std::string::npos) {
        EXPECT_EQ(Observe(rest.substr(0, eq)),
                  Unescape(rest.substr(std::min(rest.size(), eq + 3))));
        return;
    }
    std::istringstream(rest) >> what;
    rest = rest.substr(std::min(rest.size(), what.size() + 1));
    std::istringstream more(rest);
    more >> a >> b >> c;
    const auto& d = world_.Dialogs;
    auto last = [](const std::vector<std::string>& v) { return v.empty() ? "" : v.back(); };
    if (what == "decided" || what == "open") {
        EXPECT_EQ(GrandFinalDecided(s_), what == "decided");
    } else if (what == "nobody" || what == "somebody") {
        EXPECT_EQ(NobodyWaiting(), what == "nobody") << DumpState(s_);
    } else if (what == "unchanged") {
        EXPECT_EQ(DumpState(s_), before_);
        EXPECT_EQ(s_.UndoList.size(), undoBefore_);
    } else if (what == "unasked") {
        EXPECT_EQ(d.Asked.size(), askedBefore_) << last(d.Asked);
    } else if (what == "posted") {
        std::string kinds;
        for (size_t i = postedBefore_; i < announcer_.Postings.size(); ++i)
            kinds +=
                std::string(kinds.empty() ? "" : " | ") + MessageKey(announcer_.Postings[i].Kind);
        EXPECT_EQ(kinds, rest);
    } else if (what == "posting") {
        ExpectPosting(std::stoul(a), more);
    } else if (what == "notice" || what == "asked" || what == "message") {
        EXPECT_EQ(last(what == "notice"  ? d.Notices
                       : what == "asked" ? d.Asked
                                         : d.Messages),
                  Unescape(rest));
    } else if (what == "logged") {
        EXPECT_NE(ReadFileBytes(dir_.File("t.log")).find(rest + "\r\n"), std::string::npos) << rest;
    } else if (what == "saved") {  // the file written after the last action holds the state
        FakeWorld world;
        TTourneyState back;
        world.Wire(back);
        back.LogToFile = false;
        ASSERT_TRUE(ReadTourney(back, s_.TourneyPath));
        EXPECT_EQ(DumpSaved(back), DumpSaved(s_));
    } else if (what == "quiet") {
        EXPECT_TRUE(d.Messages.empty()) << last(d.Messages);
    } else if (what == "undo" || what == "players") {
        EXPECT_EQ(what == "undo" ? s_.UndoList.size() : s_.Players.size(), std::stoul(a));
    } else if (what == "winner") {  // "winner GF P05", "winner GF !P09" (not P09)
        const std::string won = Name(Table(a).Winner());
        EXPECT_EQ(won == b.substr(b[0] == '!'), b[0] != '!') << won;
    } else if (what[0] == 'P') {
        TPlayer* p = Entry(what);
        EXPECT_TRUE(a != "stage" || p->LastStage() == std::stoi(b)) << p->LastStage();
        EXPECT_TRUE(a != "at" || p->CurrentTable() == &Table(b)) << DumpState(s_);
        EXPECT_TRUE(a != "in" || BracketOf(*p->CurrentTable()) == Place(b).Bracket);
        EXPECT_TRUE(a != "wins" || p->Tables[std::stoi(c)]->Winner() == p);
        if (a == "disqualified" || a == "qualified") {
            EXPECT_EQ(p->Disqualified, a == "disqualified");
        }
    } else if (what == "stacks") {  // "expect stacks 1 0": undo and redo sizes
        EXPECT_EQ(Format("%d %d %d %d", static_cast<int>(s_.UndoList.size()),
                         static_cast<int>(s_.RedoList.size()), world_.View.UndoEnabled,
                         world_.View.RedoEnabled),
                  Format("%s %s %d %d", a.c_str(), b.c_str(), a != "0", b != "0"));
        EXPECT_TRUE(a != "0" || !Undo(s_));
        EXPECT_TRUE(b != "0" || !Redo(s_));
    } else if (what == "snapshot") {  // "expect snapshot below 65536" bytes
        EXPECT_LE(TUndoRedo::Take(s_)->Bytes(), std::stoul(b));
    } else if (what == "located") {  // "expect located O1": the round shown
        EXPECT_TRUE(world_.View.Called(
            Format("select %d %d", static_cast<int>(Place(a).Bracket), Place(a).Round)));
    } else if (what == "told") {  // "expect told scroll 0 0 2": the view, since the last add
        EXPECT_TRUE(world_.View.Called(rest)) << JoinLines(world_.View.Calls, ", ");
    } else {
        TTableRec& t = Table(what);
        const std::map<std::string, std::string> facts = {
            {"=", Name(t.Seat[0]) + " " + Name(t.Seat[1])},
            {"result", std::to_string(t.Result)},
            {"number", std::to_string(t.TableNo)},
            {"idle", t.StartTime == 0 ? "" : "no"},
            {"started", t.StartTime > 0 ? "" : "no"},
            {"unended", t.EndTime == 0 ? "" : "no"},
            {"empty", t.Empty() ? "" : "no"},
            {"full", t.Full() ? "" : "no"},
            {"cancellable", CanCancelMatch(s_, t) ? "" : "no"}};
        ASSERT_TRUE(facts.count(a)) << "unknown fact " << a;
        EXPECT_EQ(facts.at(a), Trim(rest.substr(a.size())));
    }
}

// What the host reads at "expect SUBJECT = TEXT", as that text.
std::string TScenarioPlay::Observe(const std::string& subject) {
    std::istringstream in(subject);
    std::string what, a, b, out;
    in >> what >> a >> b;
    auto list = [&](const std::vector<std::string>& v, const char* sep) {
        for (const std::string& e : v)
            out += (out.empty() ? "" : sep) + e;
        return out;
    };
    if (what == "final") {
        return std::to_string(a == "WF"   ? s_.WinnersFinalRound
                              : a == "OF" ? s_.OneLossFinalRound
                              : a == "OL" ? s_.OneLossLastRound
                              : a == "TF" ? s_.TwoLossFinalRound
                                          : s_.GrandFinalRound);
    }
    const TBracketKind bracket = a.empty() ? TBracketKind::Winners : Place(a).Bracket;
    auto name = [](const TPlayer* p) { return p ? p->Name : "-"; };
    if (what == "count") return Format(Round(a).HasBye ? "%d bye" : "%d", Round(a).TableCount);
    if (what == "counts") {
        const bool triple = s_.ElimFormat == TElimFormat::Triple;
        const int last[] = {s_.GrandFinalRound, triple ? s_.OneLossLastRound : s_.OneLossFinalRound,
                            s_.TwoLossFinalRound};
        for (int r = 0; r <= last[static_cast<int>(bracket)]; ++r)
            out += Format(r ? " %d%s" : "%d%s", s_.Bracket(bracket)[r].TableCount,
                          s_.Bracket(bracket)[r].HasBye ? "*" : "");
        return out;
    }
    if (what == "numbers") {
        for (int t = 0; t < Round(a).TableCount; ++t)
            out += (t ? " " : "") + std::to_string(Round(a).Tables[t].TableNo);
        return out;
    }
    if (what == "tabs") return list(s_.TabCaptions[static_cast<int>(bracket)], " | ");
    if (what == "label") return RoundLabel(s_, Place(a).Round, bracket);
    if (what == "signups") return CountLabelText(s_);
    if (what == "points") return std::to_string(Entry(a)->Points);
    if (what == "findbox") return world_.View.FindBox;
    if (what == "recent") return list(s_.RecentPlayers, " ");
    if (what == "seated") return name(Table(a).Seat[0]) + " " + name(Table(a).Seat[1]);
    if (what == "team") {
        const TPlayer* p = Table(a).Seat[Place(a).Seat];
        return p ? p->Name + "|" + p->Player1 + "|" + p->Player2 : "-";
    }
    if (what == "found") {  // the find box's table, text and status, as the view shows them
        const std::string shown = s_.FindText.empty() ? "-" : s_.FindText;
        const std::string told = world_.View.FindStatus == s_.FoundStatus ? "" : " (not told)";
        const std::string status = Trim(s_.FoundStatus);
        return Trim(Format("%d %s %s", s_.FoundTableNo, shown.c_str(), status.c_str())) + told;
    }
    if (what == "highlight") {
        static const char* const kNames[] = {"None",         "FoundOpen", "FoundDecided",
                                             "Disqualified", "BootedOut", "HadBye"};
        return kNames[static_cast<int>(NameBoxStatus(s_, Table(a), Place(a).Seat))];
    }
    if (what == "index") return std::to_string(GetRoundIndex(s_, Place(a).Round, bracket));
    if (what == "start") {
        const TDateTime at = Table(a).StartTime;
        return at == 0 ? "-" : std::to_string(std::lround((at - started_) * SecondsPerDay));
    }
    if (what == "stage") return std::to_string(StageAt(*Entry(a), Table(b)));
    if (what == "inuse")
        return IsTableNoInUse(s_, bracket, Place(a).Round, std::stoi(b)) ? "yes" : "no";
    if (what == "email") return s_.EmailLabels[std::stoi(a)];
    if (what == "byes") {
        TByeCounts c;
        const bool owed = Get2ndRoundByeStatus(s_, c);
        return Format("%d %s, %d entries for %d seats", c.ByesToGo, owed ? "owed" : "none",
                      c.PlayersInRound, c.TotalSeats);
    }
    if (what == "reassign") {
        const TReassignInfo r = BuildReassign(s_, Place(a));
        if (b == "text") return r.CurrentText;
        if (b == "opponent") return r.OpponentText;
        if (b == "this" || b == "next") return list(b == "this" ? r.ThisRound : r.NextRound, " | ");
        return std::string(r.MoveSelected ? "move" : "win") + (r.MoveEnabled ? " can-move" : "") +
               (r.AssignWinEnabled ? " can-win" : "");
    }
    if (what == "menu") {
        const TPlayerMenuState m =
            PlayerMenuEnabling(s_, Place(a), subject.find("button") != std::string::npos,
                               subject.find("macros") != std::string::npos);
        const std::pair<bool, const char*> items[] = {
            {m.Remove, "remove"},         {m.BothQuit, "bothquit"}, {m.Reassign, "reassign"},
            {m.Disqualify, "disqualify"}, {m.Ban, "ban"},           {m.RunMacro, "macro"},
            {m.AssignSilently, "silent"}};
        for (const auto& [on, name] : items)
            if (on) out += (out.empty() ? "" : " ") + std::string(name);
        return out.empty() ? "-" : out;
    }
    ADD_FAILURE() << "unknown subject " << what;
    return "";
}

// "expect posting 2 name P002 opponent - round 1 table 91 boot 360": the
// last action's second posting, with the parameters listed.
void TScenarioPlay::ExpectPosting(size_t n, std::istringstream& fields) {
    const size_t i = postedBefore_ + n - 1;
    ASSERT_LT(i, announcer_.Postings.size()) << "no posting " << n;
    const TMsgParams& p = announcer_.Postings[i].Params;
    const std::map<std::string, std::string> got = {
        {"name", p.PlayerName},
        {"opponent", p.OpponentName.empty() ? "-" : p.OpponentName},
        {"round", std::to_string(p.RoundIndex)},
        {"table", std::to_string(p.TableNo)},
        {"boot", std::to_string(p.BootSecondsLeft)}};
    for (std::string key, value; fields >> key >> value;)
        EXPECT_EQ(got.at(key), value) << key;
}

void TScenarioPlay::End() {
    EXPECT_EQ(CheckInvariants(s_), "") << DumpState(s_);
    EXPECT_EQ(ReopenDiff(s_, dir_.File("end.kvb")), "") << DumpState(s_);
}

// Plays one scenario on a fresh tournament.
void PlayScenario(const TScenario& sc) {
    SCOPED_TRACE(sc.Title + " (line " + std::to_string(sc.FirstLine) + ")");
    TScenarioPlay play;
    for (const std::string& line : sc.Lines) {
        play.Line(line);
        if (::testing::Test::HasFatalFailure()) return;
    }
    play.End();
}

class ScenarioFile : public ::testing::TestWithParam<std::string> {};

TEST_P(ScenarioFile, PlaysAsWorkedOutByHand) {
    const std::string path = std::string(KESTROVA_TEST_DATA) + "/engine/" + GetParam() + ".txt";
    const std::vector<TScenario> all = ReadScenarios(path);
    ASSERT_FALSE(all.empty()) << path;
    for (const TScenario& sc : all)
        PlayScenario(sc);
}

INSTANTIATE_TEST_SUITE_P(Engine, ScenarioFile,
                         ::testing::Values("corrections", "finals", "results", "undo", "status",
                                           "signup", "tables"));

}  // namespace
}  // namespace kestrova::testing
