#pragma once
// Undo and redo: whole-state snapshots of the brackets, the entries and the
// five final-round markers.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/tourney_state.h"

namespace kestrova {

// One snapshot. Tables that hold nothing but their number are not copied:
// the numbers of all tables are kept in one compact array, and only tables
// with a seat, a result, a time or a reminder are stored in full. Players are
// referred to by their position in Players (a snapshot is only valid while
// Players holds the same records in the same order; see ClearUndoRedo callers).
class TUndoRedo {
public:
    struct TableCopy {
        int16_t Index;  // bracket * 960 + round * 64 + table
        int8_t Result;
        uint8_t Reminders;
        int16_t Seat[2];  // places in Players, -1 empty: the stacks are emptied whenever Players changes
        TDateTime StartTime, EndTime;
    };
    struct PlayerCopy {
        TDateTime BootStart;
        int32_t BootCount, Points;
        bool BootedOut, Disqualified;
        std::array<int32_t, MaxStages> Tables;  // byte offsets into the state's brackets, -1 none
        std::array<int8_t, MaxStages> Seats;
    };
    struct PlayerNames {
        std::string Name, Player1, Player2;
    };

    static std::unique_ptr<TUndoRedo> Take(TTourneyState& s);
    // False (and nothing changed) when the snapshot no longer fits Players.
    bool Restore(TTourneyState& s) const;
    // Memory of this snapshot; table numbers shared with the snapshot before count once there.
    size_t Bytes() const;
    bool SharesTableNos = false;

    // Every table's number; shared with the snapshot before while unchanged.
    std::shared_ptr<const std::vector<int16_t>> TableNos;
    std::array<int16_t, 3 * MaxRounds> TableCounts{};
    std::array<bool, 3 * MaxRounds> HasByes{};
    std::vector<TableCopy> Tables;
    std::vector<PlayerCopy> Players;
    // Names change rarely: one copy is shared while NamesVersion stays the same.
    std::shared_ptr<const std::vector<PlayerNames>> Names;
    bool SharesNames = false;
    std::array<int32_t, 5> Markers{};
};

void SaveUndo(TTourneyState& s, TUndoStack& list, bool clearRedo);
void ClearUndoRedo(TTourneyState& s, TUndoStack& list);
void ClearUndoAndRedo(TTourneyState& s);  // both stacks
void UpdateUndoEnabling(TTourneyState& s);
// The Undo and Redo commands; false when their stack was empty.
bool Undo(TTourneyState& s);
bool Redo(TTourneyState& s);

}  // namespace kestrova
