#include "fakes/reopen_check.h"

#include <sstream>

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
}  // namespace

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
