#pragma once
// Match points (games to win) and player points: the tier chosen by the
// field's size, every entry's total, the lists the points panels show, and
// the values the two points dialogs edit.
#include <array>
#include <string>
#include <vector>

#include "model/tourney_state.h"

namespace kestrova {

// Copies the tier row that fits the field into the match points of MsgParams.
void SelectMatchPointsTier(TTourneyState& s);
// Recomputes every entry's Points (0 for disqualified entries). Sums are
// taken in 64 bits and a total beyond the int32 range is held at its bound,
// so no values from a formats file can overflow.
void ComputePlayerPoints(TTourneyState& s);

// A row of the "Current Player Points" panel: entries with Points > 0,
// by points ascending, then by name (case ignored).
struct TPointsRow {
    const TPlayer* Player;
    std::string Name;
    int32_t Points;
};
std::vector<TPointsRow> PlayerPointsRows(const TTourneyState& s);

// A row of "Players who've had a Bye" (sign-up order): the rounds (k + 1)
// of the stages the entry won with the other seat empty, as "1, 3".
struct TByeRow {
    std::string Name;
    std::string Rounds;
};
std::vector<TByeRow> ByeRows(const TTourneyState& s);

// ---- "Match Points Arrangement" ("Other...")

inline constexpr const char* TierKeys[5] = {"Points8to16", "Points17to32", "Points33to64",
                                            "Points65to128", "Points129to256"};
// Bounds of one round field.
inline constexpr int MatchPointsFieldMax = 100;

struct TMatchPointsArrangement {
    std::array<TRoundList, 5> Tiers{};
    TElimFormat Elim = TElimFormat::Single;
    bool SameForAll = true;  // "Points are always the same regardless of number of players"
    int Tier = 0;            // the row the fields show and edit
};
TMatchPointsArrangement ReadArrangement(const TTourneyState& s);
// A field edit: every row while SameForAll, else the chosen row only.
void EditArrangementField(TMatchPointsArrangement& a, int roundIndex, int value);
// Ticking the box copies the chosen row into all five.
void SetSameForAll(TMatchPointsArrangement& a, bool same);
// The round fields the chosen elimination and tier can use; "Rnd 1:",
// "Rnd 2:", "Semis:" and "Final:" always can.
bool ArrangementFieldUsable(const TMatchPointsArrangement& a, int roundIndex);
// OK: checks "Other...", stores and logs the five rows and, while sign-ups
// are open, applies the chosen elimination. Saves the tournament.
void ApplyArrangement(TTourneyState& s, const TMatchPointsArrangement& a);

// ---- "Point Allocations for Players"

inline constexpr int FirstPlaceMax = 200;
inline constexpr int PlacePointsMax = 100;  // 2nd, 3rd, host and bonus fields

struct TPlayerPointsValues {
    TRoundList Win{}, Bye{}, Lose{};
    bool SameRounds = false;  // "All rounds have the same points"
    // Placings as absolute values; Exactly chooses "Exactly:" over "Extra:".
    int32_t First = 0, Second = 0, Third = 0;
    bool Exactly = false;
    int32_t Host = 0, CoHost = 0, UnscheduledHost = 0, UnscheduledCoHost = 0;
    int32_t WinOfWin = 0, FixedWinOfWin = 0, FirstMatchWin = 0;
};
TPlayerPointsValues ReadPlayerPointsValues(const TTourneyState& s);
// An edit of the grid: copied to the whole column while SameRounds is on.
void EditPointsCell(TPlayerPointsValues& v, int row, int column, int32_t value);
// Ticking "All rounds have the same points" copies the first row into all.
void SetSameRounds(TPlayerPointsValues& v, bool same);
// OK: stores everything (placings negated under "Exactly:"), recomputes
// the points and saves the tournament.
void ApplyPlayerPointsValues(TTourneyState& s, const TPlayerPointsValues& v);

// "Double player points": flips the flag, recomputes and saves.
void ToggleDoublePlayerPoints(TTourneyState& s);

}  // namespace kestrova
