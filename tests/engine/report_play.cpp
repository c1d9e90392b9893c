#include "engine/report_play.h"

#include "engine/format_store.h"
#include "engine/results.h"
#include "engine/signup.h"
#include "engine/table_count.h"
#include "engine/seat_search.h"

namespace kestrova::testing {

namespace {
int IndexOf(const TTourneyState& s, const TPlayer* p) {
    for (size_t i = 0; i < s.Players.size(); ++i)
        if (s.Players[i].get() == p) return static_cast<int>(i);
    return -1;
}
}  // namespace

void PlayKnownTourney(TTourneyState& s, FakeWorld& w, TElimFormat format,
                      const std::vector<std::string>& names, int upsetEvery, int results) {
    w.Clock.Time = EncodeDateTime(2026, 12, 5, 20, 0, 0);
    SelectFormat(s, DefaultFormatName);  // the built-in match and player points
    SetElimFormat(s, format);
    for (size_t i = 0; i < names.size(); ++i) {
        auto p = std::make_unique<TPlayer>();
        p->Name = names[i];
        TakeSeat(*p, s.Winners[0].Tables[i / 2], static_cast<int>(i % 2), 0);
        s.Players.push_back(std::move(p));
    }
    AllStart(s);
    w.Clock.AdvanceSeconds(300);
    CloseSignups(s);
    for (int played = 0; played != results && !GrandFinalDecided(s); ++played) {
        auto all = PlayableTables(s, false);
        if (all.empty()) break;
        const TPlayable& p = all.front();
        const TTableRec& t = s.Bracket(p.Bracket)[p.Round].Tables[p.Table];
        int seat = 0;
        if (t.Full() && IndexOf(s, t.Seat[1]) < IndexOf(s, t.Seat[0])) seat = 1;
        if (t.Full() && upsetEvery > 0 && (played + 1) % upsetEvery == 0) seat = 1 - seat;
        if (!t.Seat[0]) seat = 1;
        w.Clock.AdvanceSeconds(180);
        AssignWin(s, p.Bracket, p.Round, p.Table, seat, true, false);
    }
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

}  // namespace kestrova::testing
