#pragma once
// The three reports: the results report with its points section, the text
// export of the bracket and the CSV table of all results. Each is built as
// lines in memory (cp1252, without line ends) and written in one go, every
// line ended by CR LF, through an atomic replace: a report that cannot be
// written throws std::runtime_error naming the file and leaves an older one
// as it was.
#include <string>
#include <vector>

#include "model/tourney_state.h"

namespace kestrova {

using TReportLines = std::vector<std::string>;

// "major.minor.release.build" of this build.
std::string ProgramVersion();
// The lines joined, each ended by CR LF.
std::string JoinReportLines(const TReportLines& lines);

// Text and CSV: an error midway shows "An error occured generating the text
// file, ..." and the lines built until then are kept.
TReportLines BuildTextReport(TTourneyState& s);
TReportLines BuildCsvReport(TTourneyState& s);
// False (nothing built, the host warned) before the tournament has started.
// May ask the first-game question, and leaves Players in name order.
bool BuildResultsReport(TTourneyState& s, TReportLines& lines);

void WriteTextReport(TTourneyState& s, const std::string& path);
void WriteCsvReport(TTourneyState& s, const std::string& path);
// Writes only when BuildResultsReport succeeded; returns its result.
bool WriteResultsReport(TTourneyState& s, const std::string& path);

// The "Save as" file types, numbered as the dialog lists them.
enum class TSaveAsType { ResultsReport = 1, Tourney = 2, TextExport = 3, CsvExport = 4 };
// Writes the chosen type to the path; false when nothing was written.
bool SaveAsType(TTourneyState& s, const std::string& path, TSaveAsType type);

// "Edit and send points": the mail's subject and the file beside the tournament.
std::string PointsMailSubject(TTourneyState& s);
std::string PointsMailPath(const TTourneyState& s);

}  // namespace kestrova
