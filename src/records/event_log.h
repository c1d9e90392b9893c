#pragma once
// The event log beside the tournament file: one line per host command and step.
#include <string>
#include <string_view>

namespace kestrova {

class TTourneyState;

// The log path: TourneyPath with its extension replaced by ".log".
std::string LogPathFor(std::string_view tourneyPath);
// Appends the line and CR LF; the file is opened and closed for every line.
// A line that cannot be written is dropped silently.
void WriteLog(const TTourneyState& state, std::string_view line);
// False when the log is switched off (benchmarks, bulk tests): callers may
// then skip building an expensive line.
bool LogEnabled(const TTourneyState& state);
// "On" or "Off".
inline const char* OnOff(bool on) { return on ? "On" : "Off"; }

}  // namespace kestrova
