#pragma once
// What the one-second tick shows, as the window receives it. The tick tells
// the view only what changed since the last tick: a slot's time text, its
// hint, its blink, and the two status lists when they need rebuilding.
#include <cstdint>
#include <string>
#include <vector>

#include "common/ports.h"

namespace kestrova {

// The time text's colour; the loss views leave theirs as it is.
enum class TClockInk : uint8_t { Unchanged, Maroon, Navy };

// A running table past its limit, one per table per scan.
struct TOverdueTable {
    int32_t TableNo = 0;
    std::string RoundLabel;
    int32_t ElapsedMinutes = 0;
    int32_t OverdueSeconds = 0;
};

// One row of "Active Boots".
struct TBootRow {
    std::string Name;
    std::string Time;
    int32_t TableNo = 0;
};

class ITimingView {
  public:
    virtual ~ITimingView() = default;
    virtual void SlotTimeChanged(TBracketKind b, int slot, const std::string& text, TClockInk ink) {
        (void)b; (void)slot; (void)text; (void)ink;
    }
    virtual void SlotHintChanged(TBracketKind b, int slot, const std::string& hint) {
        (void)b; (void)slot; (void)hint;
    }
    // Yellow, or the normal button face.
    virtual void SlotBlinkChanged(TBracketKind b, int slot, bool yellow) {
        (void)b; (void)slot; (void)yellow;
    }
    // The status-bar clocks (the world clock draws them).
    virtual void StatusClocks() {}
    // "Overdue Tables", sorted, largest overdue first; empty clears the list.
    virtual void OverdueRowsChanged(const std::vector<TOverdueTable>& rows) { (void)rows; }
    // "Active Boots" in ActiveBoots order; empty clears the list.
    virtual void BootRowsChanged(const std::vector<TBootRow>& rows) { (void)rows; }
    // Finding the chosen lobby room again (the lobby link).
    virtual void LobbyLookup() {}
};

}  // namespace kestrova
