#include "fakes/reopen_check.h"

#include <charconv>
#include <sstream>
#include <unordered_map>

#include "engine/status.h"
#include "engine/tourney_file.h"
#include "fakes/fake_ports.h"
#include "records/kvb_writer.h"

namespace kestrova::testing {

namespace {
std::string FirstDifference(const std::string& a, const std::string& b) {
    std::istringstream ia(a), ib(b);
    std::string la, lb, context;
    for (int n = 1;; ++n) {
        const bool ea = !std::getline(ia, la), eb = !std::getline(ib, lb);
        if (ea && eb) return "";
        if (ea || eb || la != lb)
            return "line " + std::to_string(n) + " after \"" + context +
                   "\"\n  saved:    " + (ea ? "<end>" : la) +
                   "\n  reopened: " + (eb ? "<end>" : lb) + "\n";
        if (la.rfind("round", 0) == 0) context = la;
    }
}

// Appends numbers and texts, each after a space (the dump is compared after
// every step of the long play-throughs, so it avoids streams).
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
}  // namespace

std::string DumpSaved(const TTourneyState& s) {
    std::unordered_map<const TPlayer*, int> pos;
    for (size_t i = 0; i < s.Players.size(); ++i)
        pos[s.Players[i].get()] = static_cast<int>(i);
    auto who = [&](const TPlayer* p) { return p ? (pos.count(p) ? pos.at(p) : -99) : -1; };
    std::string out;
    TLine o(out);
    o << "markers" << s.WinnersFinalRound << s.OneLossFinalRound << s.TwoLossFinalRound
      << s.OneLossLastRound << s.GrandFinalRound << "\nvoid";
    for (int no : s.VoidTables)
        o << no;
    // The file keeps each bracket's rounds up to its last; a table beyond
    // that holding anything would be lost.
    const int last[3] = {
        s.GrandFinalRound,
        s.ElimFormat == TElimFormat::Triple ? s.OneLossLastRound : s.OneLossFinalRound,
        s.TwoLossFinalRound};
    for (int b = 0; b < s.BracketCount(); ++b) {
        const TBracket& br = s.Bracket(static_cast<TBracketKind>(b));
        for (int r = 0; r < MaxRounds; ++r) {
            const TRoundRec& round = br[r];
            const bool kept = r <= last[b];
            o << "\nround" << b << r;
            if (kept) o << "tables" << round.TableCount << "bye" << round.HasBye;
            for (int i = 0; i < MaxTablesPerRound; ++i) {
                const TTableRec& t = round.Tables[i];
                const bool holds = t.Result || !t.Empty() || t.StartTime || t.EndTime;
                if ((kept && i < round.TableCount) || holds)
                    o << "\n " << i << "no" << t.TableNo << "result" << t.Result << "seats"
                      << who(t.Seat[0]) << who(t.Seat[1]) << "times" << t.StartTime << t.EndTime;
            }
        }
    }
    for (const auto& p : s.Players) {
        o << "\nplayer" << p->Name + '|' + p->Player1 + '|' + p->Player2 << p->BootStart
          << p->BootCount << p->BootedOut << p->Disqualified << p->Points;
        for (int k = 0; k < MaxStages; ++k)
            if (const TTableRec* t = p->Tables[k])
                o << "s" << k << static_cast<int>(BracketOf(*t)) << RoundOf(*t) << TableIndexOf(*t)
                  << p->Seats[k];
    }
    return out + '\n';
}

std::string ReopenDiff(TTourneyState& s, const std::string& path) {
    UpdatePlayerState(s);
    WriteFileBytes(path, kvb::EncodeTourney(s));  // no flush to disk: read back at once
    FakeWorld world;
    TTourneyState back;
    world.Wire(back);
    back.LogToFile = false;
    // The program's options are its own, not the file's: the same program
    // opens it again.
    back.Settings = s.Settings;
    back.AssignAllRound2Byes = s.AssignAllRound2Byes;
    back.RandomRound2Byes = s.RandomRound2Byes;
    if (!ReadTourney(back, path)) {
        std::string why = "the reader refuses the file:";
        for (const auto& m : world.Dialogs.Messages)
            why += " " + m;
        return why + "\n";
    }
    return FirstDifference(DumpSaved(s), DumpSaved(back));
}

}  // namespace kestrova::testing
