#pragma once
// Undo and redo: whole-state snapshots of the brackets, the entries and the
// five final-round markers.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "model/tourney_state.h"

namespace kestrova {

// One snapshot: the brackets, the entries and the five final-round markers.
// A result changes a few rounds and a few entries, so a snapshot is made of
// pieces (one per round, one per 16 entries, the table numbers, the names)
// that are shared with the snapshot taken before whenever they are equal.
// Tables past a round's high-water mark are not copied. Seats and stage
// links refer to the live records: a snapshot is only valid while Players
// holds the same records in the same order, which is why every path that
// adds, frees or reorders entries empties both stacks.
class TUndoRedo {
public:
    // The tables of a round up to its high-water mark, as they are: their
    // seats refer to the live entries, which the stacks never outlive.
    struct RoundCopy {
        int16_t TableCount = 0;
        int16_t Expected = 0;
        bool HasBye = false;
        std::vector<TTableRec> Tables;
    };
    struct PlayerCopy {
        TDateTime BootStart;
        std::array<int32_t, MaxStages> Tables;  // byte offsets into the state's brackets, -1 none
        std::array<int8_t, MaxStages> Seats;
        int32_t BootCount, Points, BootedOut, Disqualified;
    };
    using PlayerChunk = std::vector<PlayerCopy>;
    static constexpr size_t ChunkSize = 16;
    struct PlayerNames {
        std::string Name, Player1, Player2;
    };

    static std::unique_ptr<TUndoRedo> Take(TTourneyState& s);
    // False (and nothing changed) when the snapshot no longer fits Players.
    bool Restore(TTourneyState& s) const;
    // Memory this snapshot added: pieces shared with the snapshot before count there.
    size_t Bytes() const { return OwnBytes; }

    std::shared_ptr<const std::vector<int16_t>> TableNos;  // every table's number
    std::array<std::shared_ptr<const RoundCopy>, 3 * MaxRounds> Rounds;
    std::vector<std::shared_ptr<const PlayerChunk>> Players;
    size_t PlayerCount = 0;
    std::shared_ptr<const std::vector<PlayerNames>> Names;
    std::array<int32_t, 5> Markers{};
    size_t OwnBytes = 0;
};

void SaveUndo(TTourneyState& s, TUndoStack& list, bool clearRedo);
void ClearUndoRedo(TTourneyState& s, TUndoStack& list);
void ClearUndoAndRedo(TTourneyState& s);  // both stacks
void UpdateUndoEnabling(TTourneyState& s);
// The Undo and Redo commands; false when their stack was empty.
bool Undo(TTourneyState& s);
bool Redo(TTourneyState& s);

}  // namespace kestrova
