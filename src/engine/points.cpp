#include "engine/points.h"

#include <algorithm>
#include <cstdint>
#include <limits>

#include "common/int_list.h"
#include "common/text.h"
#include "engine/status.h"
#include "engine/table_count.h"
#include "engine/tourney_file.h"
#include "records/event_log.h"

namespace kestrova {

void SelectMatchPointsTier(TTourneyState& s) {
    int t = s.GrandFinalRound - (s.ElimFormat == TElimFormat::Single ? 3 : 4);
    t = std::clamp(t, 0, 4);
    s.MsgParams.MatchPoints = s.MatchPointsTiers[t];
}

namespace {

constexpr int64_t kMin = std::numeric_limits<int32_t>::min();
constexpr int64_t kMax = std::numeric_limits<int32_t>::max();

// A placing value adds itself when it is >= 0 ("Extra:"), else the total
// becomes its absolute value ("Exactly:").
void ApplyPlacing(int64_t& total, int32_t value) {
    if (value >= 0)
        total += value;
    else
        total = -static_cast<int64_t>(value);
}

// The bonus of a bracket's winner who waits for the final.
int64_t BracketWinnerBonus(const TTourneyState& s, TBracketKind b, int k) {
    const int64_t perRound = s.WinOfWinPoints;
    if (s.ElimFormat == TElimFormat::Double && b == TBracketKind::Winners &&
        k == s.WinnersFinalRound)
        return perRound * (s.OneLossFinalRound - s.WinnersFinalRound) + s.FixedWinOfWinPoints;
    if (s.ElimFormat != TElimFormat::Triple) return 0;
    if (b == TBracketKind::Winners && k == s.WinnersFinalRound)
        return perRound * (s.TwoLossFinalRound - s.WinnersFinalRound + 1) + s.FixedWinOfWinPoints;
    if (b == TBracketKind::OneLoss && k == s.OneLossFinalRound)
        return perRound * (s.TwoLossFinalRound - s.OneLossFinalRound) + s.FixedWinOfWinPoints;
    return 0;
}

// What a win or a loss at a stage of a bracket counts does not depend on
// the entry: the round index and the bracket winner's bonus of every stage
// are looked up once per recount rather than once per entry and stage.
struct TStageValues {
    std::array<std::array<int8_t, MaxStages>, 3> Index{};
    std::array<std::array<int64_t, MaxStages>, 3> Bonus{};

    explicit TStageValues(const TTourneyState& s) {
        for (int b = 0; b < 3; ++b)
            for (int k = 0; k < MaxStages; ++k) {
                const auto kind = static_cast<TBracketKind>(b);
                Index[b][k] = static_cast<int8_t>(GetRoundIndex(s, k, kind));
                Bonus[b][k] = BracketWinnerBonus(s, kind, k);
            }
    }
};

int64_t PointsOf(const TTourneyState& s, const TStageValues& v, const TPlayer& p) {
    int64_t total = 0;
    // The round lists and last-round numbers are bounded, so 64 bits
    // cannot overflow here however large the 32-bit values are.
    // Every stage counts: in a large triple field the two-loss champion
    // plays the one-loss last table and the final at stages 13 and 14.
    for (int k = 0; k < MaxStages && p.Tables[k]; ++k) {
        const TTableRec& t = *p.Tables[k];
        if (t.Result == 0) continue;  // an open table counts nothing yet
        const int b = static_cast<int>(BracketOf(t));
        const int i = v.Index[b][k];
        const int seat = p.Seats[k];
        const bool won = (t.Result == 1 || t.Result == 2) && t.Result - 1 == seat;
        if (!won) {
            total += s.LosePoints[i];
            if (i == 14) ApplyPlacing(total, s.SecondPlacePoints);
            if (i == 13) ApplyPlacing(total, s.ThirdPlacePoints);
            continue;
        }
        const bool opponent = seat >= 0 && seat <= 1 && t.Seat[1 - seat];
        total += v.Bonus[b][k];
        total += opponent ? s.WinPoints[i] : s.ByePoints[i];
        if (i == 14) ApplyPlacing(total, s.FirstPlacePoints);
    }
    return total;
}

}  // namespace

void ComputePlayerPoints(TTourneyState& s) {
    const TStageValues v(s);
    for (auto& p : s.Players) {
        int64_t total = p->Disqualified ? 0 : PointsOf(s, v, *p);
        if (s.DoublePlayerPoints) total *= 2;
        p->Points = static_cast<int32_t>(std::clamp(total, kMin, kMax));
    }
}

std::vector<TPointsRow> PlayerPointsRows(const TTourneyState& s) {
    std::vector<TPointsRow> rows;
    for (const auto& p : s.Players)
        if (p->Points > 0) rows.push_back({p.get(), p->Name, p->Points});
    std::stable_sort(rows.begin(), rows.end(), [](const TPointsRow& a, const TPointsRow& b) {
        if (a.Points != b.Points) return a.Points < b.Points;
        return CompareText(a.Name, b.Name) < 0;
    });
    return rows;
}

std::vector<TByeRow> ByeRows(const TTourneyState& s) {
    std::vector<TByeRow> rows;
    for (const auto& p : s.Players) {
        std::string rounds;
        for (int k = 0; k < MaxStages && p->Tables[k]; ++k) {
            const TTableRec& t = *p->Tables[k];
            const int seat = p->Seats[k];
            if ((t.Result != 1 && t.Result != 2) || t.Result - 1 != seat) continue;
            if (t.Seat[1 - seat]) continue;
            if (!rounds.empty()) rounds += ", ";
            rounds += IntToStr(k + 1);
        }
        if (!rounds.empty()) rows.push_back({p->Name, rounds});
    }
    return rows;
}

// ---- "Match Points Arrangement"

TMatchPointsArrangement ReadArrangement(const TTourneyState& s) {
    TMatchPointsArrangement a;
    a.Tiers = s.MatchPointsTiers;
    a.Elim = s.ElimFormat;
    a.SameForAll = std::all_of(a.Tiers.begin(), a.Tiers.end(),
                               [&](const TRoundList& row) { return row == a.Tiers[0]; });
    return a;
}

void EditArrangementField(TMatchPointsArrangement& a, int roundIndex, int value) {
    if (roundIndex < 0 || roundIndex >= RoundIndexCount) return;
    value = std::clamp(value, 0, MatchPointsFieldMax);
    for (int t = 0; t < 5; ++t)
        if (a.SameForAll || t == a.Tier) a.Tiers[t][roundIndex] = value;
}

void SetSameForAll(TMatchPointsArrangement& a, bool same) {
    a.SameForAll = same;
    if (!same) return;
    const TRoundList chosen = a.Tiers[std::clamp(a.Tier, 0, 4)];
    a.Tiers.fill(chosen);
}

bool ArrangementFieldUsable(const TMatchPointsArrangement& a, int roundIndex) {
    if (roundIndex <= 1 || roundIndex >= 13) return true;
    static constexpr int base[3] = {6, 10, 14};
    int usable = base[static_cast<int>(a.Elim)];
    if (!a.SameForAll) usable -= 4 - std::clamp(a.Tier, 0, 4);
    return roundIndex < usable;
}

void ApplyArrangement(TTourneyState& s, const TMatchPointsArrangement& a) {
    s.MatchPointsItem = MatchPointsOther;
    s.MatchPointsTiers = a.Tiers;
    for (int t = 0; t < 5; ++t)
        WriteLog(s, std::string("    -> ") + TierKeys[t] + " = " + FormatIntList(a.Tiers[t]));
    if (!s.SignupClosed) SetElimFormat(s, a.Elim);
    s.View().FormatMenuChanged();
    SaveTourney(s);
}

// ---- "Point Allocations for Players"

TPlayerPointsValues ReadPlayerPointsValues(const TTourneyState& s) {
    TPlayerPointsValues v;
    v.Win = s.WinPoints;
    v.Bye = s.ByePoints;
    v.Lose = s.LosePoints;
    v.SameRounds = true;
    for (int r = 1; r < RoundIndexCount; ++r)
        if (v.Win[r] != v.Win[0] || v.Bye[r] != v.Bye[0] || v.Lose[r] != v.Lose[0])
            v.SameRounds = false;
    v.Exactly = s.FirstPlacePoints < 0 || s.SecondPlacePoints < 0 || s.ThirdPlacePoints < 0;
    auto shown = [](int32_t value, int max) {
        return static_cast<int32_t>(std::min<int64_t>(std::abs(static_cast<int64_t>(value)), max));
    };
    v.First = shown(s.FirstPlacePoints, FirstPlaceMax);
    v.Second = shown(s.SecondPlacePoints, PlacePointsMax);
    v.Third = shown(s.ThirdPlacePoints, PlacePointsMax);
    auto bounded = [](int32_t value) { return std::clamp(value, 0, PlacePointsMax); };
    v.Host = bounded(s.HostPoints);
    v.CoHost = bounded(s.CoHostPoints);
    v.UnscheduledHost = bounded(s.UnscheduleHostPoints);
    v.UnscheduledCoHost = bounded(s.UnscheduleCoHostPoints);
    v.WinOfWin = bounded(s.WinOfWinPoints);
    v.FixedWinOfWin = bounded(s.FixedWinOfWinPoints);
    v.FirstMatchWin = bounded(s.FirstMatchWinPoints);
    return v;
}

namespace {
TRoundList& Column(TPlayerPointsValues& v, int column) {
    return column == 0 ? v.Win : column == 1 ? v.Bye : v.Lose;
}
}  // namespace

void EditPointsCell(TPlayerPointsValues& v, int row, int column, int32_t value) {
    if (row < 0 || row >= RoundIndexCount || column < 0 || column > 2) return;
    TRoundList& list = Column(v, column);
    if (v.SameRounds)
        list.fill(value);
    else
        list[row] = value;
}

void SetSameRounds(TPlayerPointsValues& v, bool same) {
    v.SameRounds = same;
    if (!same) return;
    for (int c = 0; c < 3; ++c) Column(v, c).fill(Column(v, c)[0]);
}

void ApplyPlayerPointsValues(TTourneyState& s, const TPlayerPointsValues& v) {
    s.WinPoints = v.Win;
    s.ByePoints = v.Bye;
    s.LosePoints = v.Lose;
    const int32_t sign = v.Exactly ? -1 : 1;
    s.FirstPlacePoints = sign * std::clamp(v.First, 0, FirstPlaceMax);
    s.SecondPlacePoints = sign * std::clamp(v.Second, 0, PlacePointsMax);
    s.ThirdPlacePoints = sign * std::clamp(v.Third, 0, PlacePointsMax);
    s.HostPoints = v.Host;
    s.CoHostPoints = v.CoHost;
    s.UnscheduleHostPoints = v.UnscheduledHost;
    s.UnscheduleCoHostPoints = v.UnscheduledCoHost;
    s.WinOfWinPoints = v.WinOfWin;
    s.FixedWinOfWinPoints = v.FixedWinOfWin;
    s.FirstMatchWinPoints = v.FirstMatchWin;
    UpdatePlayerState(s);
    SaveTourney(s);
}

void ToggleDoublePlayerPoints(TTourneyState& s) {
    s.DoublePlayerPoints = !s.DoublePlayerPoints;
    WriteLog(s, std::string("Menu: Format/Options/Double player points = ") +
                    OnOff(s.DoublePlayerPoints));
    SaveTourney(s);
}

}  // namespace kestrova
