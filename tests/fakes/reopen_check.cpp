#include "fakes/reopen_check.h"

#include <cstdlib>
#include <map>
#include <sstream>
#include <unordered_map>

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
using TPositions = std::unordered_map<const TPlayer*, int>;

TPositions PositionsOf(const TTourneyState& s) {
    TPositions pos;
    for (size_t i = 0; i < s.Players.size(); ++i) pos[s.Players[i].get()] = static_cast<int>(i);
    return pos;
}

int Who(const TPositions& pos, const TPlayer* p) {
    if (!p) return -1;
    auto it = pos.find(p);
    return it == pos.end() ? -99 : it->second;
}

bool Holds(const TTableRec& t) { return t.Result || !t.Empty() || t.StartTime || t.EndTime; }

bool SameTable(const TTableRec& a, const TTableRec& b, const TPositions& pa, const TPositions& pb) {
    return a.TableNo == b.TableNo && a.Result == b.Result && Who(pa, a.Seat[0]) == Who(pb, b.Seat[0]) &&
           Who(pa, a.Seat[1]) == Who(pb, b.Seat[1]) && a.StartTime == b.StartTime &&
           a.EndTime == b.EndTime;
}

// What DumpSaved shows, compared without building the text (the property
// test asks after thousands of steps).
bool SameAsSaved(const TTourneyState& a, const TTourneyState& b) {
    if (a.WinnersFinalRound != b.WinnersFinalRound || a.OneLossFinalRound != b.OneLossFinalRound ||
        a.TwoLossFinalRound != b.TwoLossFinalRound || a.OneLossLastRound != b.OneLossLastRound ||
        a.GrandFinalRound != b.GrandFinalRound || a.VoidTables != b.VoidTables ||
        a.Players.size() != b.Players.size() || a.BracketCount() != b.BracketCount())
        return false;
    const TPositions pa = PositionsOf(a), pb = PositionsOf(b);
    const int last[3] = {a.GrandFinalRound,
                         a.ElimFormat == TElimFormat::Triple ? a.OneLossLastRound : a.OneLossFinalRound,
                         a.TwoLossFinalRound};
    for (int k = 0; k < a.BracketCount(); ++k) {
        const TBracket& ba = a.Bracket(static_cast<TBracketKind>(k));
        const TBracket& bb = b.Bracket(static_cast<TBracketKind>(k));
        for (int r = 0; r < MaxRounds; ++r) {
            const bool kept = r <= last[k];
            if (kept && (ba[r].TableCount != bb[r].TableCount || ba[r].HasBye != bb[r].HasBye))
                return false;
            for (int i = 0; i < MaxTablesPerRound; ++i) {
                const TTableRec& ta = ba[r].Tables[i];
                const TTableRec& tb = bb[r].Tables[i];
                const bool shownA = (kept && i < ba[r].TableCount) || Holds(ta);
                const bool shownB = (kept && i < bb[r].TableCount) || Holds(tb);
                if (shownA != shownB || (shownA && !SameTable(ta, tb, pa, pb))) return false;
            }
        }
    }
    for (size_t i = 0; i < a.Players.size(); ++i) {
        const TPlayer& x = *a.Players[i];
        const TPlayer& y = *b.Players[i];
        if (x.Name != y.Name || x.Player1 != y.Player1 || x.Player2 != y.Player2 ||
            x.BootStart != y.BootStart || x.BootCount != y.BootCount || x.BootedOut != y.BootedOut ||
            x.Disqualified != y.Disqualified || x.Points != y.Points)
            return false;
        for (int k = 0; k < MaxStages; ++k) {
            const TTableRec* s = x.Tables[k];
            const TTableRec* t = y.Tables[k];
            if (!s != !t) return false;
            if (!s) continue;
            if (BracketOf(*s) != BracketOf(*t) || RoundOf(*s) != RoundOf(*t) ||
                TableIndexOf(*s) != TableIndexOf(*t) || x.Seats[k] != y.Seats[k])
                return false;
        }
    }
    return true;
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
    // The program's options are its own, not the file's: the same program
    // opens it again.
    back.Settings = s.Settings;
    back.AssignAllRound2Byes = s.AssignAllRound2Byes;
    back.RandomRound2Byes = s.RandomRound2Byes;
    if (!ReadTourney(back, path)) {
        if (const char* dump = std::getenv("KESTROVA_REOPEN_DUMP"))
            WriteFileAtomically(std::string(dump) + ".kvb", kvb::EncodeTourney(s));
        std::string why = "the reader refuses the file:";
        for (const auto& m : world.Dialogs.Messages) why += " " + m;
        return why + "\n";
    }
    if (SameAsSaved(s, back)) return "";
    const std::string before = DumpSaved(s), after = DumpSaved(back);
    if (const char* dump = std::getenv("KESTROVA_REOPEN_DUMP"); dump && before != after) {
        WriteFileAtomically(std::string(dump) + ".saved", before);
        WriteFileAtomically(std::string(dump) + ".reopened", after);
    }
    return FirstDifference(before, after);
}

}  // namespace kestrova::testing
