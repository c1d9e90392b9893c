#include "engine/play_helpers.h"

#include <algorithm>

#include "common/text.h"
#include "engine/results.h"
#include "engine/seat_search.h"
#include "engine/table_count.h"
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
        case TBracketKind::Winners: return RoundOf(t) >= s.WinnersFinalRound - 1;
        case TBracketKind::OneLoss: return RoundOf(t) >= s.OneLossFinalRound - 2;
        case TBracketKind::TwoLoss: return RoundOf(t) >= s.TwoLossFinalRound - 2;
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
    auto earliest = std::min_element(lone.begin(), lone.end(), [](const auto& a, const auto& b) {
        return a.Round < b.Round;
    });
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

int PlayToEnd(TTourneyState& s, std::mt19937& rng) {
    int results = 0;
    while (!GrandFinalDecided(s) && PlayRandomResult(s, rng)) ++results;
    return results;
}

}  // namespace kestrova::testing
