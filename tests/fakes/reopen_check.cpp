#include "fakes/reopen_check.h"

#include <cstdlib>
#include <map>
#include <sstream>

#include "common/file_util.h"
#include "engine/status.h"
#include "fakes/fake_ports.h"
#include "records/kvb_writer.h"
#include "engine/tourney_file.h"

namespace kestrova::testing {

namespace {
void DumpTable(std::ostream& o, const TTableRec& t, int i, const std::map<const TPlayer*, int>& pos) {
    auto who = [&](const TPlayer* p) { return p ? (pos.count(p) ? pos.at(p) : -99) : -1; };
    o << "  " << i << ": no " << t.TableNo << " result " << t.Result << " seats " << who(t.Seat[0])
      << ',' << who(t.Seat[1]) << " times " << t.StartTime << ',' << t.EndTime << '\n';
}

std::string FirstDifference(const std::string& a, const std::string& b) {
    std::istringstream ia(a), ib(b);
    std::string la, lb, context;
    for (int n = 1;; ++n) {
        const bool ea = !std::getline(ia, la), eb = !std::getline(ib, lb);
        if (ea && eb) return "";
        if (ea || eb || la != lb)
            return "line " + std::to_string(n) + " after \"" + context + "\"\n  saved:    " +
                   (ea ? "<end>" : la) + "\n  reopened: " + (eb ? "<end>" : lb) + "\n";
        if (la.rfind("round", 0) == 0) context = la;
    }
}
}  // namespace

std::string DumpSaved(const TTourneyState& s) {
    std::map<const TPlayer*, int> pos;
    for (size_t i = 0; i < s.Players.size(); ++i) pos[s.Players[i].get()] = static_cast<int>(i);
    std::ostringstream o;
    o.precision(17);
    o << "markers " << s.WinnersFinalRound << ' ' << s.OneLossFinalRound << ' '
      << s.TwoLossFinalRound << ' ' << s.OneLossLastRound << ' ' << s.GrandFinalRound << '\n';
    o << "void";
    for (int no : s.VoidTables) o << ' ' << no;
    o << '\n';
    // The file keeps each bracket's rounds up to its last; a table beyond
    // that holding anything would be lost.
    const int last[3] = {s.GrandFinalRound,
                         s.ElimFormat == TElimFormat::Triple ? s.OneLossLastRound
                                                             : s.OneLossFinalRound,
                         s.TwoLossFinalRound};
    for (int b = 0; b < s.BracketCount(); ++b) {
        const TBracket& br = s.Bracket(static_cast<TBracketKind>(b));
        for (int r = 0; r < MaxRounds; ++r) {
            const TRoundRec& round = br[r];
            const bool kept = r <= last[b];
            o << "round " << b << ' ' << r;
            if (kept) o << " tables " << round.TableCount << " bye " << round.HasBye;
            o << '\n';
            for (int i = 0; i < MaxTablesPerRound; ++i) {
                const TTableRec& t = round.Tables[i];
                const bool holds = t.Result || !t.Empty() || t.StartTime || t.EndTime;
                if ((kept && i < round.TableCount) || holds) DumpTable(o, t, i, pos);
            }
        }
    }
    for (const auto& p : s.Players) {
        o << "player " << p->Name << '|' << p->Player1 << '|' << p->Player2 << ' ' << p->BootStart
          << ' ' << p->BootCount << ' ' << p->BootedOut << ' ' << p->Disqualified << ' '
          << p->Points;
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

std::string ReopenDiff(TTourneyState& s, const std::string& path) {
    UpdatePlayerState(s);
    WriteFileBytes(path, kvb::EncodeTourney(s));  // no flush to disk: read back at once
    FakeWorld world;
    TTourneyState back;
    world.Wire(back);
    back.LogToFile = false;
    if (!ReadTourney(back, path)) {
        if (const char* dump = std::getenv("KESTROVA_REOPEN_DUMP"))
            WriteFileAtomically(std::string(dump) + ".kvb", kvb::EncodeTourney(s));
        std::string why = "the reader refuses the file:";
        for (const auto& m : world.Dialogs.Messages) why += " " + m;
        return why + "\n";
    }
    const std::string before = DumpSaved(s), after = DumpSaved(back);
    if (const char* dump = std::getenv("KESTROVA_REOPEN_DUMP"); dump && before != after) {
        WriteFileAtomically(std::string(dump) + ".saved", before);
        WriteFileAtomically(std::string(dump) + ".reopened", after);
    }
    return FirstDifference(before, after);
}

}  // namespace kestrova::testing
