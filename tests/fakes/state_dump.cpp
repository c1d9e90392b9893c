#include "fakes/state_dump.h"

#include <map>
#include <sstream>

#include "engine/status.h"

namespace kestrova::testing {

namespace {
std::map<const TPlayer*, int> Positions(const TTourneyState& s) {
    std::map<const TPlayer*, int> pos;
    for (size_t i = 0; i < s.Players.size(); ++i) pos[s.Players[i].get()] = static_cast<int>(i);
    return pos;
}
}  // namespace

std::string DumpState(const TTourneyState& s) {
    auto pos = Positions(s);
    auto who = [&](const TPlayer* p) { return p ? (pos.count(p) ? pos[p] : -99) : -1; };
    std::ostringstream o;
    o.precision(17);
    o << "markers " << s.WinnersFinalRound << ' ' << s.OneLossFinalRound << ' '
      << s.TwoLossFinalRound << ' ' << s.OneLossLastRound << ' ' << s.GrandFinalRound << '\n';
    for (int b = 0; b < 3; ++b) {
        const TBracket& br = s.Bracket(static_cast<TBracketKind>(b));
        for (int r = 0; r < MaxRounds; ++r) {
            const TRoundRec& round = br[r];
            o << "round " << b << ' ' << r << ' ' << round.TableCount << ' ' << round.HasBye << '\n';
            for (int i = 0; i < MaxTablesPerRound; ++i) {
                const TTableRec& t = round.Tables[i];
                o << ' ' << t.TableNo;
                if (t.Result || t.Seat[0] || t.Seat[1] || t.StartTime || t.EndTime)
                    o << '[' << t.Result << ',' << who(t.Seat[0]) << ',' << who(t.Seat[1]) << ','
                      << t.StartTime << ',' << t.EndTime << ']';
            }
            o << '\n';
        }
    }
    for (const auto& p : s.Players) {
        o << "player " << p->Name << '|' << p->Player1 << '|' << p->Player2 << ' ' << p->BootStart
          << ' ' << p->BootCount << ' ' << p->BootedOut << ' ' << p->Disqualified;
        for (int k = 0; k < MaxStages; ++k) {
            const TTableRec* t = p->Tables[k];
            if (!t) continue;
            o << " s" << k << '=' << static_cast<int>(BracketOf(*t)) << '/' << RoundOf(*t) << '/'
              << TableIndexOf(*t) << '/' << p->Seats[k];
        }
        o << '\n';
    }
    return o.str();
}

std::string CheckInvariants(const TTourneyState& s) {
    auto pos = Positions(s);
    std::ostringstream err;
    for (const auto& p : s.Players) {
        int open = 0;
        int last = p->LastStage();
        for (int k = 0; k < MaxStages; ++k) {
            const TTableRec* t = p->Tables[k];
            if (!t) continue;
            if (t->Seat[p->Seats[k] & 1] != p.get())
                return "stage link of " + p->Name + " at stage " + std::to_string(k) +
                       " does not point back";
            if (t->Result == 0) {
                ++open;
                if (k != last) return p->Name + " has an open table before its last stage";
            }
        }
        if (open > 1) return p->Name + " has more than one open table";
    }
    for (int b = 0; b < 3; ++b) {
        const TBracket& br = s.Bracket(static_cast<TBracketKind>(b));
        for (int r = 0; r < MaxRounds; ++r)
            for (int i = 0; i < MaxTablesPerRound; ++i) {
                const TTableRec& t = br[r].Tables[i];
                if (t.Round != &br[r]) return "table back-reference broken";
                if ((!t.Empty() || t.Result != 0) && i >= br[r].HighWater)
                    return "table " + std::to_string(b) + "/" + std::to_string(r) + "/" +
                           std::to_string(i) + " is in use past its round's high-water mark";
                for (const TPlayer* p : t.Seat) {
                    if (!p) continue;
                    if (!pos.count(p)) return "a seat refers to a removed entry";
                    bool linked = false;
                    for (int k = 0; k < MaxStages; ++k) linked |= p->Tables[k] == &t;
                    if (!linked) return "seated entry " + p->Name + " has no stage at its table";
                }
            }
    }
    for (const TPlayer* p : s.ActiveBoots)
        if (!pos.count(p)) return "an active boot refers to a removed entry";
    return err.str();
}

}  // namespace kestrova::testing
