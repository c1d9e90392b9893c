#include "fakes/state_dump.h"

#include <charconv>
#include <map>
#include <string_view>
#include <type_traits>

#include "engine/status.h"
#include "fakes/reopen_check.h"

namespace kestrova::testing {

namespace {
std::map<const TPlayer*, int> Positions(const TTourneyState& s) {
    std::map<const TPlayer*, int> pos;
    for (size_t i = 0; i < s.Players.size(); ++i)
        pos[s.Players[i].get()] = static_cast<int>(i);
    return pos;
}

// Appends numbers and texts, each after a space (the dumps are compared after
// every step of the long play-throughs, so they avoid streams).
class TLine {
  public:
    explicit TLine(std::string& out) : out_(out) {}
    template <class T>
    TLine& operator<<(const T& v) {
        if constexpr (std::is_convertible_v<T, std::string_view>) {
            out_ += std::string_view(v);
        } else if constexpr (std::is_same_v<T, bool>) {
            out_ += v ? '1' : '0';
        } else {
            char buf[32];
            out_.append(buf, std::to_chars(buf, buf + sizeof buf, v).ptr);
        }
        out_ += ' ';
        return *this;
    }

  private:
    std::string& out_;
};

// Everything the state holds, or (`saved`) what its file keeps: each
// bracket's rounds up to its last (a table beyond that holding anything
// would be lost), the void numbers and the points.
std::string Dump(const TTourneyState& s, bool saved) {
    const std::map<const TPlayer*, int> pos = Positions(s);
    auto who = [&](const TPlayer* p) { return p ? (pos.count(p) ? pos.at(p) : -99) : -1; };
    std::string out;
    TLine o(out);
    o << "markers" << s.WinnersFinalRound << s.OneLossFinalRound << s.TwoLossFinalRound
      << s.OneLossLastRound << s.GrandFinalRound;
    if (saved) o << "\nvoid";
    for (int no : saved ? s.VoidTables : std::vector<int>())
        o << no;
    const int last[3] = {
        s.GrandFinalRound,
        s.ElimFormat == TElimFormat::Triple ? s.OneLossLastRound : s.OneLossFinalRound,
        s.TwoLossFinalRound};
    for (int b = 0; b < (saved ? s.BracketCount() : 3); ++b) {
        const TBracket& br = s.Bracket(static_cast<TBracketKind>(b));
        for (int r = 0; r < MaxRounds; ++r) {
            const TRoundRec& round = br[r];
            const bool kept = !saved || r <= last[b];
            o << "\nround" << b << r;
            if (kept) o << "tables" << round.TableCount << "bye" << round.HasBye;
            for (int i = 0; i < MaxTablesPerRound; ++i) {
                const TTableRec& t = round.Tables[i];
                const bool holds = t.Result || !t.Empty() || t.StartTime || t.EndTime;
                if (!saved && !holds) o << t.TableNo;
                if ((saved && kept && i < round.TableCount) || holds)
                    o << "\n " << i << "no" << t.TableNo << "result" << t.Result << "seats"
                      << who(t.Seat[0]) << who(t.Seat[1]) << "times" << t.StartTime << t.EndTime;
            }
        }
    }
    for (const auto& p : s.Players) {
        o << "\nplayer" << p->Name + '|' + p->Player1 + '|' + p->Player2 << p->BootStart
          << p->BootCount << p->BootedOut << p->Disqualified;
        if (saved) o << p->Points;
        for (int k = 0; k < MaxStages; ++k)
            if (const TTableRec* t = p->Tables[k])
                o << "s" << k << static_cast<int>(BracketOf(*t)) << RoundOf(*t) << TableIndexOf(*t)
                  << p->Seats[k];
    }
    return out + '\n';
}
}  // namespace

std::string DumpState(const TTourneyState& s) {
    return Dump(s, false);
}

std::string DumpSaved(const TTourneyState& s) {
    return Dump(s, true);
}

std::string CheckInvariants(const TTourneyState& s) {
    auto pos = Positions(s);
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
                    for (int k = 0; k < MaxStages; ++k)
                        linked |= p->Tables[k] == &t;
                    if (!linked) return "seated entry " + p->Name + " has no stage at its table";
                }
            }
    }
    for (const TPlayer* p : s.ActiveBoots)
        if (!pos.count(p)) return "an active boot refers to a removed entry";
    return "";
}

}  // namespace kestrova::testing
