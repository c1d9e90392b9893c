#include "records/event_log.h"

#include "common/file_util.h"
#include "model/tourney_state.h"

namespace kestrova {

std::string LogPathFor(std::string_view path) {
    size_t sep = path.find_last_of("\\/:");
    size_t start = sep == std::string_view::npos ? 0 : sep + 1;
    size_t dot = path.rfind('.');
    std::string base(path);
    if (dot != std::string_view::npos && dot >= start) base.resize(dot);
    return base + ".log";
}

bool LogEnabled(const TTourneyState& state) { return state.LogToFile; }

void WriteLog(const TTourneyState& state, std::string_view line) {
    if (!state.LogToFile) return;
    std::string path = LogPathFor(state.TourneyPath);
    std::string data(line);
    data += "\r\n";
    // One append per line, the file opened and closed each time: the line is
    // with the system when WriteLog returns, so killing the program loses
    // nothing already logged. A log that cannot be written is not a reason
    // to stop the host.
    AppendToFile(path, data);
}

}  // namespace kestrova
