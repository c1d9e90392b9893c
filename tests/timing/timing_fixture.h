#pragma once
// A tournament wired to fakes, with a timing view that keeps what every slot
// and list shows, for the clock, reminder and boot tests.
#include <array>
#include <functional>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "engine/play_helpers.h"
#include "engine/signup.h"
#include "timing/match_clock.h"

namespace kestrova::testing {

class FakeTimingView : public ITimingView {
  public:
    struct TSlot {
        std::string Text, Hint;
        TClockInk Ink = TClockInk::Unchanged;
        bool Yellow = false;
    };
    std::array<std::array<TSlot, MaxTablesPerRound>, 3> Slots;
    std::vector<TOverdueTable> Overdue;
    std::vector<TBootRow> Boots;
    int TimeCalls = 0, OverdueCalls = 0, StatusCalls = 0;
    TSlot& At(TBracketKind b, int slot) {
        return Slots[static_cast<size_t>(b)][static_cast<size_t>(slot)];
    }
    void SlotTimeChanged(TBracketKind b, int slot, const std::string& text,
                         TClockInk ink) override {
        ++TimeCalls;
        At(b, slot).Text = text;
        if (ink != TClockInk::Unchanged) At(b, slot).Ink = ink;
    }
    void SlotHintChanged(TBracketKind b, int slot, const std::string& hint) override {
        At(b, slot).Hint = hint;
    }
    void SlotBlinkChanged(TBracketKind b, int slot, bool yellow) override {
        At(b, slot).Yellow = yellow;
    }
    void StatusClocks() override { ++StatusCalls; }
    void OverdueRowsChanged(const std::vector<TOverdueTable>& rows) override {
        ++OverdueCalls;
        Overdue = rows;
    }
    void BootRowsChanged(const std::vector<TBootRow>& rows) override { Boots = rows; }
};

// Boot buttons as the engine tells the window of them.
class BootButtonView : public FakeView {
  public:
    std::map<std::tuple<int, int, int>, std::pair<std::string, bool>> Buttons;
    void BootButtonChanged(TBracketKind b, int t, int seat, const std::string& caption,
                           bool icon) override {
        Buttons[{static_cast<int>(b), t, seat}] = {caption, icon};
    }
    // The caption and whether the icon shows; "?" for a button never told of.
    std::pair<std::string, bool> Button(TBracketKind b, int t, int seat) {
        auto it = Buttons.find({static_cast<int>(b), t, seat});
        return it == Buttons.end() ? std::pair("?", false) : it->second;
    }
};

// Dialogs that run a hook inside the modal boxes, as ticks run behind a
// real modal box.
class HookedDialogs : public FakeDialogs {
  public:
    std::function<void()> Inside;
    void MessageBox(TMessageBoxKind kind, const std::string& text) override {
        FakeDialogs::MessageBox(kind, text);
        if (Inside) Inside();
    }
    TConfirmAnswer ConfirmDlg(const std::string& text) override {
        if (Inside) Inside();
        return FakeDialogs::ConfirmDlg(text);
    }
};

struct TimingWorld {
    TempDir Dir;
    FakeWorld World;
    HookedDialogs Dialogs;
    BootButtonView View;
    RecordingAnnouncer Announcer;
    FakeTimingView TickView;
    TMatchClock Clock;
    TTourneyState S;

    TimingWorld() {
        World.Wire(S, &Announcer);
        S.Ports.Dialogs = &Dialogs;
        S.Ports.View = &View;
        S.TourneyPath = Dir.File("t.kvb");
        S.SettingsLoaded = true;
        Clock.SetView(&TickView);
    }
    // A started tournament: sign-ups closed and every first-round clock running.
    void Start(TElimFormat f, int n) {
        StartTourney(S, f, n);
        AllStart(S);
        Announcer.Postings.clear();
        Dialogs.Asked.clear();
    }
    void Advance(double seconds) { World.Clock.AdvanceSeconds(seconds); }
    void Tick() { Clock.TimerTick(S); }
    TDateTime Now() const { return World.Clock.Time; }
    TPlayer* P(int i) { return S.Players[static_cast<size_t>(i - 1)].get(); }
};

}  // namespace kestrova::testing
