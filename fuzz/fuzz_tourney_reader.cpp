// The whole tournament-file reader on arbitrary bytes. A file the reader
// accepts must then work: counts, tabs, announcements and a save.
#include <stdlib.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "common/file_util.h"
#include "engine/next_assign.h"
#include "engine/results.h"
#include "engine/status.h"
#include "engine/table_count.h"
#include "model/tourney_state.h"
#include "engine/undo.h"
#include "engine/tourney_file.h"

namespace {

using namespace kestrova;

class TQuietDialogs : public IDialogs {
  public:
    void MessageBox(TMessageBoxKind, const std::string&) override {}
};

const std::string& Folder() {
    static const std::string folder = [] {
        // tmpfs when there is one: every save flushes, and the disk need not see it.
        char shm[] = "/dev/shm/fuzz-kvb-XXXXXX";
        char tmp[] = "/tmp/fuzz-kvb-XXXXXX";
        const char* p = ::mkdtemp(shm);
        if (!p) p = ::mkdtemp(tmp);
        return std::string(p ? p : "/tmp") + "/";
    }();
    return folder;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string input = Folder() + "input.kvb";
    WriteFileAtomically(input, std::string_view(reinterpret_cast<const char*>(data), size));
    TTourneyState s;
    TQuietDialogs dialogs;
    s.Ports.Dialogs = &dialogs;
    s.TourneyPath = Folder() + "before.kvb";
    if (!ReadTourney(s, input)) return 0;
    UpdateFullTableCount(s);
    UpdateBracketTabs(s);
    for (size_t i = 0; i < s.Players.size(); ++i)
        PostNextAssign(s, *s.Players[i], true);
    s.TourneyPath = Folder() + "played.kvb";
    // A result at the first full open table of each bracket, then undo it.
    for (int b = 0; b < s.BracketCount(); ++b) {
        auto kind = static_cast<TBracketKind>(b);
        for (int r = 0; r < MaxRounds; ++r) {
            const TRoundRec& round = s.Bracket(kind)[r];
            int found = -1;
            for (int i = 0; i < round.TableCount && found < 0; ++i)
                if (round.Tables[i].Full() && round.Tables[i].Result == 0) found = i;
            if (found < 0) continue;
            AssignWin(s, kind, r, found, static_cast<int>(r % 2), true, true);
            Undo(s);
            break;
        }
    }
    s.TourneyPath = Folder() + "saved.kvb";
    SaveTourney(s);
    // What was saved reads back.
    TTourneyState again;
    again.Ports.Dialogs = &dialogs;
    again.TourneyPath = Folder() + "again.kvb";
    if (!ReadTourney(again, s.TourneyPath)) __builtin_trap();
    return 0;
}
