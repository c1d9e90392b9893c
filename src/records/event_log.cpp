#include "records/event_log.h"

#include <fcntl.h>
#include <unistd.h>

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
    // One write() on an O_APPEND descriptor per line: the line is in the
    // system's hands before WriteLog returns, so killing the program loses
    // nothing already logged. Not O_DSYNC: a disk flush per line would cost
    // milliseconds on every click, and the tournament file itself is flushed
    // on every save.
    int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    if (fd < 0) return;
    const char* p = data.data();
    size_t left = data.size();
    while (left > 0) {
        ssize_t n = ::write(fd, p, left);
        if (n <= 0) break;
        p += n;
        left -= static_cast<size_t>(n);
    }
    ::close(fd);
}

}  // namespace kestrova
