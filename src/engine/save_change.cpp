#include "engine/save_change.h"

#include "engine/table_count.h"
#include "engine/tourney_file.h"

namespace kestrova {

void SaveChange(TTourneyState& s) {
    // The log shows the host's commands and the counts they call for; this
    // recount only keeps the counts in step, so it writes no lines.
    const bool log = s.LogToFile;
    s.LogToFile = false;
    RefreshCounts(s);
    s.LogToFile = log;
    SaveTourney(s);
}

}  // namespace kestrova
