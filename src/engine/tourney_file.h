#pragma once
// The tournament file (.kvb): writing versions 9 and 10, reading 3 to 10,
// the backup, opening, and the recent-tournaments list.
#include <string>

#include "model/tourney_state.h"
#include "records/recent_files.h"

namespace kestrova {

// Writes the whole state to TourneyPath (backup first, then an atomic
// replace). Does nothing while TourneyPath is empty. Throws std::runtime_error
// on a write failure (the general error handler shows it). A file the reader
// would refuse is never written: the save is logged and shown as a
// "CRITICAL PROBLEM: ", the file and its backup stay as they were, and the
// result is false (true otherwise).
bool SaveTourney(TTourneyState& s);
// Reads the file into the state; on failure shows the error, sets the
// skip-backup flag and leaves the state exactly as it was.
bool ReadTourney(TTourneyState& s, const std::string& path);
// ReadTourney, then the backup offer.
void OpenTourney(TTourneyState& s, const std::string& path);
// The version byte of a tournament file (0 when it has no signature).
int TourneyFileVersion(const std::string& path);
// "Save as" with the tournament file type.
bool SaveTourneyAs(TTourneyState& s, const std::string& path);

}  // namespace kestrova
