#include "model/tourney_state.h"

#include "common/system_clock.h"

namespace kestrova {

namespace {
class SystemClock : public IClock {
public:
    TDateTime Now() override { return SystemLocalNow(); }
    TDateTime UtcNow() override { return SystemUtcNow(); }
};

IDialogs gDefaultDialogs;
IView gDefaultView;
ILobbyPort gDefaultLobby;
ILobbyWindows gNoLobbyWindows;
SystemClock gSystemClock;
}  // namespace

int TPlayer::LastStage() const {
    // Stage 15 is reached only by a two-loss champion who goes on to the grand final.
    for (int k = MaxStages - 1; k >= 0; --k)
        if (Tables[k]) return k;
    return -1;
}

TTableRec* TPlayer::CurrentTable() const {
    int k = LastStage();
    return k < 0 ? nullptr : Tables[k];
}

TTourneyState::TTourneyState() {
    for (int b = 0; b < 3; ++b) {
        TBracket& br = Bracket(static_cast<TBracketKind>(b));
        for (int r = 0; r < MaxRounds; ++r) {
            br[r].RoundNumber = r + 1;
            br[r].Bracket = static_cast<TBracketKind>(b);
            for (auto& t : br[r].Tables) t.Round = &br[r];
        }
    }
}

TTourneyState::~TTourneyState() = default;

TBracket& TTourneyState::Bracket(TBracketKind b) {
    switch (b) {
        case TBracketKind::OneLoss: return OneLoss;
        case TBracketKind::TwoLoss: return TwoLoss;
        default: return Winners;
    }
}

const TBracket& TTourneyState::Bracket(TBracketKind b) const {
    return const_cast<TTourneyState*>(this)->Bracket(b);
}

IDialogs& TTourneyState::Dialogs() { return Ports.Dialogs ? *Ports.Dialogs : gDefaultDialogs; }
IView& TTourneyState::View() { return Ports.View ? *Ports.View : gDefaultView; }
ILobbyPort& TTourneyState::Lobby() { return Ports.Lobby ? *Ports.Lobby : gDefaultLobby; }
ILobbyWindows& TTourneyState::LobbyWindows() {
    return Ports.LobbyWindows ? *Ports.LobbyWindows : gNoLobbyWindows;
}
TDateTime TTourneyState::Now() { return (Ports.Clock ? *Ports.Clock : gSystemClock).Now(); }

int TableIndexOf(const TTableRec& t) {
    return static_cast<int>(&t - t.Round->Tables.data());
}

void MarkTableUsed(TTableRec& t) {
    const int32_t next = TableIndexOf(t) + 1;
    if (t.Round->HighWater < next) t.Round->HighWater = next;
}

void RecomputeHighWater(TTourneyState& s) {
    for (int b = 0; b < 3; ++b)
        for (auto& round : s.Bracket(static_cast<TBracketKind>(b))) {
            round.HighWater = 0;
            for (auto& t : round.Tables)
                if (t.Seat[0] || t.Seat[1] || t.Result || t.StartTime || t.EndTime) MarkTableUsed(t);
        }
    ++s.TableNoVersion;
}

int StageAt(const TPlayer& p, const TTableRec& t) {
    for (int k = 0; k < MaxStages; ++k)
        if (p.Tables[k] == &t) return k;
    return -1;
}

int SeatOf(const TTableRec& t, const TPlayer* p) {
    if (!p) return -1;
    if (t.Seat[0] == p) return 0;
    if (t.Seat[1] == p) return 1;
    return -1;
}

}  // namespace kestrova
