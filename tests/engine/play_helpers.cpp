#include "engine/play_helpers.h"

#include <algorithm>

#include "common/text.h"
#include "engine/corrections.h"
#include "engine/format_store.h"
#include "engine/report_play.h"
#include "engine/results.h"
#include "engine/seat_search.h"
#include "engine/signup.h"
#include "engine/table_count.h"
#include "engine/table_numbers.h"
#include "engine/undo.h"
#include "session/lifecycle.h"

namespace kestrova::testing {

void SeatEntries(TTourneyState& s, int n) {
    for (int i = 0; i < n; ++i) {
        auto p = std::make_unique<TPlayer>();
        p->Name = Format("P%03d", i + 1);
        TTableRec& t = s.Winners[0].Tables[i / 2];
        TakeSeat(*p, t, i % 2, 0);
        s.Players.push_back(std::move(p));
    }
}

void StartTourney(TTourneyState& s, TElimFormat format, int n) {
    SetElimFormat(s, format);
    SeatEntries(s, n);
    CloseSignups(s);
}

// Final tables get their second entry by a crossing.
static bool IsFinalTable(const TTourneyState& s, const TTableRec& t) {
    return &t == &s.Winners[s.GrandFinalRound].Tables[0] ||
           (s.ElimFormat == TElimFormat::Triple && &t == &s.OneLoss[s.OneLossLastRound].Tables[0]);
}

// A host forces byes in the early rounds, not in a bracket's final rounds.
static bool InFinalRounds(const TTourneyState& s, const TTableRec& t) {
    switch (BracketOf(t)) {
        case TBracketKind::Winners:
            return RoundOf(t) >= s.WinnersFinalRound - 1;
        case TBracketKind::OneLoss:
            return RoundOf(t) >= s.OneLossFinalRound - 2;
        case TBracketKind::TwoLoss:
            return RoundOf(t) >= s.TwoLossFinalRound - 2;
    }
    return false;
}

std::vector<TPlayable> PlayableTables(const TTourneyState& s, bool includeLonePlayers) {
    std::vector<TPlayable> out;
    for (int b = 0; b < s.BracketCount(); ++b) {
        const TBracket& br = s.Bracket(static_cast<TBracketKind>(b));
        for (int r = 0; r < MaxRounds; ++r) {
            const TRoundRec& round = br[r];
            for (int i = 0; i < std::min(round.TableCount, MaxTablesPerRound); ++i) {
                const TTableRec& t = round.Tables[i];
                if (t.Result != 0 || t.Empty()) continue;
                bool bye = round.HasBye && i == round.TableCount - 1 && t.Seat[0] && !t.Seat[1];
                if (t.Full() || bye)
                    out.push_back({static_cast<TBracketKind>(b), r, i, false});
                else if (includeLonePlayers)
                    out.push_back({static_cast<TBracketKind>(b), r, i, true});
            }
        }
    }
    return out;
}

bool GrandFinalDecided(const TTourneyState& s) {
    return s.GrandFinalRound > 0 && s.Winners[s.GrandFinalRound].Tables[0].Result != 0;
}

std::optional<TResultChoice> ChooseRandomResult(const TTourneyState& s, std::mt19937& rng,
                                                int forcedByeOneIn) {
    // The host plays the final tables last, and forces a bye on an entry left
    // waiting alone only now and then, or when nothing else can be played.
    auto all = PlayableTables(s, true);
    std::vector<TPlayable> normal, lone, lateLone, finals;
    for (const auto& p : all) {
        const TTableRec& t = s.Bracket(p.Bracket)[p.Round].Tables[p.Table];
        if (IsFinalTable(s, t)) {
            if (!p.Alone) finals.push_back(p);
        } else if (p.Alone) {
            (InFinalRounds(s, t) ? lateLone : lone).push_back(p);
        } else {
            normal.push_back(p);
        }
    }
    if (normal.empty()) lone.insert(lone.end(), lateLone.begin(), lateLone.end());
    std::vector<TPlayable>* pick = &normal;
    const bool stalled = normal.empty() && !lone.empty();
    if (!lone.empty() && (stalled || (forcedByeOneIn > 0 && rng() % forcedByeOneIn == 0)))
        pick = &lone;
    if (pick->empty()) pick = &finals;
    if (pick->empty()) return std::nullopt;
    // When everybody left waits alone, the host gives the earliest round's
    // entry its bye first: the later ones may still get an opponent from it.
    auto earliest = std::min_element(
        lone.begin(), lone.end(), [](const auto& a, const auto& b) { return a.Round < b.Round; });
    const TPlayable& p = stalled ? *earliest : (*pick)[rng() % pick->size()];
    const TTableRec& t = s.Bracket(p.Bracket)[p.Round].Tables[p.Table];
    int seat = t.Full() ? static_cast<int>(rng() % 2) : (t.Seat[0] ? 0 : 1);
    return TResultChoice{p.Bracket, p.Round, p.Table, seat};
}

bool PlayRandomResult(TTourneyState& s, std::mt19937& rng, int forcedByeOneIn) {
    auto c = ChooseRandomResult(s, rng, forcedByeOneIn);
    if (!c) return false;
    AssignWin(s, c->Bracket, c->Round, c->Table, c->Seat, true, false);
    return true;
}

static int SignupIndex(const TTourneyState& s, const TPlayer* p) {
    for (size_t i = 0; i < s.Players.size(); ++i)
        if (s.Players[i].get() == p) return static_cast<int>(i);
    return -1;
}

void PlayInSignupOrder(TTourneyState& s, int upsetEvery, int results, FakeClock* clock) {
    for (int played = 0; played != results && !GrandFinalDecided(s); ++played) {
        const std::vector<TPlayable> all = PlayableTables(s, false);
        if (all.empty()) return;
        const TPlayable& p = all.front();
        const TTableRec& t = s.Bracket(p.Bracket)[p.Round].Tables[p.Table];
        int seat = t.Full() && SignupIndex(s, t.Seat[1]) < SignupIndex(s, t.Seat[0]) ? 1 : 0;
        if (t.Full() && upsetEvery > 0 && (played + 1) % upsetEvery == 0) seat = 1 - seat;
        if (!t.Seat[0]) seat = 1;
        if (clock) clock->AdvanceSeconds(180);
        AssignWin(s, p.Bracket, p.Round, p.Table, seat, true, false);
    }
}

void PlayKnownTourney(TTourneyState& s, FakeWorld& w, TElimFormat format,
                      const std::vector<std::string>& names, int upsetEvery, int results) {
    w.Clock.Time = EncodeDateTime(2026, 12, 5, 20, 0, 0);
    SelectFormat(s, DefaultFormatName);  // the built-in match and player points
    SetElimFormat(s, format);
    SeatEntries(s, static_cast<int>(names.size()));
    for (size_t i = 0; i < names.size(); ++i)
        if (!names[i].empty()) s.Players[i]->Name = names[i];
    AllStart(s);
    w.Clock.AdvanceSeconds(300);
    CloseSignups(s);
    PlayInSignupOrder(s, upsetEvery, results, &w.Clock);
}

void SetReportTexts(TTourneyState& s) {
    s.CurrentFormat = "Friday \"Fast\", Hearts";
    s.MsgParams.StartTime = "8:00 PM ET";
    s.MsgParams.HostName = "Morgan";
    s.HostPlayerName = "MorganPlays";
    s.MsgParams.CoHostName = "Dee";
    s.CoHostPlayerName = "DeeDee";
    s.EmailFields = {"first@example.org", "second@example.org", "third@example.org", ""};
}

std::vector<TSeatRef> SeatsAt(const TTourneyState& s, bool open) {
    std::vector<TSeatRef> out;
    for (int b = 0; b < s.BracketCount(); ++b) {
        const TBracket& br = s.Bracket(static_cast<TBracketKind>(b));
        for (int r = 0; r < MaxRounds; ++r)
            for (int i = 0; i < SeatSearchBound[b]; ++i) {
                const TTableRec& t = br[r].Tables[i];
                if ((t.Result == 0) != open) continue;
                for (int seat = 0; seat < 2; ++seat)
                    if (t.Seat[seat]) out.push_back({static_cast<TBracketKind>(b), r, i, seat});
            }
    }
    return out;
}

const char* FormatName(TElimFormat f) {
    static const char* const kNames[] = {"Single", "Double", "Triple"};
    return kNames[static_cast<int>(f)];
}

namespace {

template <class T>
std::optional<T> Pick(const std::vector<T>& v, std::mt19937& rng) {
    if (v.empty()) return std::nullopt;
    return v[rng() % v.size()];
}

const TTableRec& TableOf(const TTourneyState& s, const TSeatRef& at) {
    return s.Bracket(at.Bracket)[at.Round].Tables[at.Table];
}

// A step that always does something.
THostStep Always(const std::string& name, std::function<void(TTourneyState&)> act) {
    return {name, [act](TTourneyState& t) {
                act(t);
                return true;
            }};
}

// A seat as the scenarios write it: " W0.3.1". Steps are named with theirs.
std::string SeatText(const TSeatRef& at) {
    const char bracket = "WOT"[static_cast<int>(at.Bracket)];
    return Format(" %c%d.%d.%d", bracket, at.Round, at.Table, at.Seat);
}

THostStep OnSeat(const std::string& name, const std::optional<TSeatRef>& at,
                 void (*act)(TTourneyState&, const TSeatRef&)) {
    if (!at) return {};
    return Always(name + SeatText(*at), [at = *at, act](TTourneyState& t) { act(t, at); });
}

void Press(TTourneyState& t, const TSeatRef& at) {
    AssignWin(t, at.Bracket, at.Round, at.Table, at.Seat, true, false);
}

void Release(TTourneyState& t, const TSeatRef& at) {
    AssignWin(t, at.Bracket, at.Round, at.Table, at.Seat, false, false);
}

THostStep Reassign(const std::string& name, const TSeatRef& at, bool win, const std::string& to) {
    return Always(name + " from" + SeatText(at),
                  [=](TTourneyState& t) { CarryOutReassign(t, BuildReassign(t, at), win, to); });
}

THostStep ToggleVoid(const std::string& name, int no) {
    return Always(name, [no](TTourneyState& t) { ToggleVoidTable(t, no); });
}

// At a bracket's final round the host removes a finalist or moves one
// within the round.
THostStep CorrectAFinal(TTourneyState& s, const std::vector<TSeatRef>& open, std::mt19937& rng) {
    const int finals[3] = {s.GrandFinalRound, s.OneLossFinalRound, s.TwoLossFinalRound};
    std::vector<TSeatRef> at;
    for (const TSeatRef& seat : open) {
        const int b = static_cast<int>(seat.Bracket);
        if (seat.Round == finals[b] || seat.Round == finals[b] + 1 ||
            (b == 0 && seat.Round == s.WinnersFinalRound))
            at.push_back(seat);
    }
    auto pick = Pick(at, rng);
    if (!pick) return {};
    if (rng() % 2 == 0) return OnSeat("remove at a final", pick, RemovePlayer);
    TReassignInfo info = BuildReassign(s, *pick);
    if (!info.MoveEnabled || info.ThisRound.empty()) return {};
    const std::string to = info.ThisRound[rng() % info.ThisRound.size()];
    return Reassign("move at a final to " + to, *pick, false, to);
}

}  // namespace

THostStep ChooseCorrection(TTourneyState& s, std::mt19937& rng) {
    const unsigned kind = rng() % 11;
    const std::vector<TSeatRef> open = SeatsAt(s, true);
    std::vector<TSeatRef> seats;
    switch (kind) {
        case 9:
            return CorrectAFinal(s, open, rng);
        case 10:  // a win withdrawn after its winner left
            for (const TSeatRef& at : SeatsAt(s, false)) {
                const TTableRec& t = TableOf(s, at);
                const TPlayer* w = t.Winner();
                const int k = w ? StageAt(*w, t) : -1;
                if (t.Result == at.Seat + 1 && k >= 0 && k + 1 < MaxStages && !w->Tables[k + 1])
                    seats.push_back(at);
            }
            return OnSeat("withdraw a win whose winner left", Pick(seats, rng), Release);
        case 0:  // the host releases a pressed win button
            for (const TSeatRef& at : SeatsAt(s, false))
                if (TableOf(s, at).Result == at.Seat + 1) seats.push_back(at);
            return OnSeat("cancel", Pick(seats, rng), Release);
        case 1:
            return OnSeat("remove", Pick(open, rng), RemovePlayer);
        case 2:
            for (const TSeatRef& at : open)
                if (at.Seat == 0 && TableOf(s, at).Full()) seats.push_back(at);
            return OnSeat("both quit", Pick(seats, rng), BothPlayersQuit);
        case 3: {
            auto at = Pick(open, rng);
            if (!at) return {};
            TReassignInfo info = BuildReassign(s, *at);
            std::vector<std::pair<bool, std::string>> choices;
            if (info.AssignWinEnabled)
                for (const auto& e : info.NextRound)
                    choices.push_back({true, e});
            if (info.MoveEnabled)
                for (const auto& e : info.ThisRound)
                    choices.push_back({false, e});
            auto c = Pick(choices, rng);
            if (!c) return {};
            return Reassign((c->first ? "reassign with win to " : "move to ") + c->second, *at,
                            c->first, c->second);
        }
        case 4:
            return OnSeat("disqualify", Pick(open, rng), DisqualifyPlayer);
        case 5: {
            if (s.VoidTables.size() >= 4)
                return ToggleVoid("unvoid", s.VoidTables[rng() % s.VoidTables.size()]);
            // The host takes a broken lobby table out of use before anyone
            // sits there: a number no open table with an entry carries.
            std::vector<int> free;
            for (int no = 1; no <= s.RoomTableCount; ++no) {
                bool carried = false;
                for (const TSeatRef& at : open)
                    carried |= TableOf(s, at).TableNo == no;
                if (!carried && !IsVoidTable(s, no)) free.push_back(no);
            }
            const auto no = Pick(free, rng);
            return no ? ToggleVoid("void " + std::to_string(*no), *no) : THostStep{};
        }
        case 6:
        case 7:
            return {"undo", [](TTourneyState& t) { return Undo(t); }};
        default:
            return {"redo", [](TTourneyState& t) { return Redo(t); }};
    }
}

THostStep ChooseResult(const TTourneyState& s, std::mt19937& rng, int forcedByeOneIn) {
    if (auto c = ChooseRandomResult(s, rng, forcedByeOneIn))
        return OnSeat("result", TSeatRef{c->Bracket, c->Round, c->Table, c->Seat}, Press);
    std::optional<TSeatRef> lone;
    for (const TSeatRef& at : SeatsAt(s, true)) {
        if (TableOf(s, at).Full()) continue;
        if (!lone || (lone->Bracket == TBracketKind::Winners && lone->Round == s.GrandFinalRound))
            lone = at;
    }
    return OnSeat("lone final", lone, Press);
}

THostStep PlayMixedStep(TTourneyState& s, std::mt19937& rng, int forcedByeOneIn) {
    THostStep step;
    if (rng() % 4 == 0) step = ChooseCorrection(s, rng);
    if (!step.Name.empty() && step.Do(s)) return step;
    step = ChooseResult(s, rng, forcedByeOneIn);
    if (step.Do) step.Do(s);
    return step;
}

}  // namespace kestrova::testing
