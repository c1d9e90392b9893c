// kvbtool: checks or dumps a tournament file with the program's own reader.
//   kvbtool check FILE   one summary line, exit 0; or the error text, exit 1
//   kvbtool dump FILE    the state after opening, as JSON (UTF-8)
//   kvbtool report --results|--text|--csv FILE [-o OUT]
//                        a report on standard output, or written to OUT
#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

#include <cstdio>
#include <optional>
#include <string>

#include "common/file_util.h"

#include "common/cp1252.h"
#include "common/text.h"
#include "model/tourney_state.h"
#include "engine/format_store.h"
#include "records/tourney_dump.h"
#include "engine/reports.h"
#include "engine/tourney_file.h"

namespace {

using namespace kestrova;

// Keeps the reader's message instead of showing it.
class TToolDialogs : public IDialogs {
  public:
    std::string LastMessage;
    void MessageBox(TMessageBoxKind, const std::string& text) override { LastMessage = text; }
    bool YesNo(const std::string&) override { return false; }  // never switch to the backup
};

const char* StateName(const TTourneyState& s) {
    if (s.SignupClosed) return "closed";
    return s.Started ? "started" : "signing up";
}

int Usage() {
    std::fputs("usage: kvbtool check FILE\n       kvbtool dump FILE\n"
               "       kvbtool report --results|--text|--csv FILE [-o OUT]\n",
               stderr);
    return 2;
}

struct TArgs {
    std::string Command, Path, Kind, Out;
};

// check FILE, dump FILE, report --KIND FILE [-o OUT] (options in any order).
std::optional<TArgs> ParseArgs(int argc, char** argv) {
    if (argc < 3) return std::nullopt;
    TArgs a;
    a.Command = argv[1];
    if (a.Command == "check" || a.Command == "dump") {
        if (argc != 3) return std::nullopt;
        a.Path = argv[2];
        return a;
    }
    if (a.Command != "report") return std::nullopt;
    for (int i = 2; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--results" || arg == "--text" || arg == "--csv") {
            if (!a.Kind.empty()) return std::nullopt;
            a.Kind = arg.substr(2);
        } else if (arg == "-o" && i + 1 < argc && a.Out.empty()) {
            a.Out = argv[++i];
        } else if (!arg.empty() && arg[0] != '-' && a.Path.empty()) {
            a.Path = arg;
        } else {
            return std::nullopt;
        }
    }
    if (a.Kind.empty() || a.Path.empty()) return std::nullopt;
    return a;
}

// The report the arguments name, or nothing (the reason is in the dialogs).
std::optional<std::string> BuildReport(TTourneyState& state, const std::string& kind) {
    if (kind == "text") return JoinReportLines(BuildTextReport(state));
    if (kind == "csv") return JoinReportLines(BuildCsvReport(state));
    TReportLines lines;
    if (!BuildResultsReport(state, lines)) return std::nullopt;
    return JoinReportLines(lines);
}

int Report(TTourneyState& state, TToolDialogs& dialogs, const TArgs& a) {
    std::optional<std::string> text = BuildReport(state, a.Kind);
    if (!text) {
        std::fprintf(stderr, "%s\n", Cp1252ToUtf8(dialogs.LastMessage).c_str());
        return 1;
    }
    if (a.Out.empty()) {
        std::fwrite(text->data(), 1, text->size(), stdout);
        return std::fflush(stdout) == 0 ? 0 : 1;
    }
    try {
        WriteFileAtomically(a.Out, *text);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
#ifdef _WIN32
    // The reports already end their lines with "\r\n": standard output must
    // not add a second "\r".
    _setmode(_fileno(stdout), _O_BINARY);
#endif
    const std::optional<TArgs> args = ParseArgs(argc, argv);
    if (!args) return Usage();
    const std::string& command = args->Command;

    TTourneyState state;
    TToolDialogs dialogs;
    state.Ports.Dialogs = &dialogs;
    const std::string path = args->Path;
    // Opening a tournament writes its event log beside the file; the tool
    // reads a private copy so that checking a file never touches its folder.
    std::optional<std::string> bytes = ReadFileIfExists(path);
    const std::optional<std::string> folder = bytes ? MakeTempFolder("kvbtool-") : std::nullopt;
    const bool copied = folder.has_value();
    const std::string inFolder = copied ? *folder + PathSeparator : std::string();
    const std::string copy = inFolder + "copy.kvb";
    if (copied) {
        WriteFileAtomically(copy, *bytes);
        state.TourneyPath = inFolder + "none.kvb";
    }
    const bool ok = ReadTourney(state, copied ? copy : path);
    if (copied) {
        for (const char* f : {"copy.kvb", "copy.log", "none.log"}) RemoveFile(inFolder + f);
        RemoveFolder(*folder);
    }
    if (!ok) {
        std::printf("%s\n", Cp1252ToUtf8(dialogs.LastMessage).c_str());
        return 1;
    }
    state.TourneyPath = ChangeFileExt(path, ".kvb");
    state.Settings.RecentTourneys = {state.TourneyPath};
    const int version = TourneyFileVersion(path);
    // Reports are written as the program writes them: cp1252 bytes, CR LF.
    if (command == "report") return Report(state, dialogs, *args);
    if (command == "dump") {
        std::fputs(DumpTourneyJson(state, version).c_str(), stdout);
        return 0;
    }
    std::printf("version=%d format=\"%s\" entries=%d elim=%s state=%s\n", version,
                Cp1252ToUtf8(CurrentFormatName(state)).c_str(),
                static_cast<int>(state.Players.size()),
                state.ElimFormat == TElimFormat::Single   ? "Single"
                : state.ElimFormat == TElimFormat::Double ? "Double"
                                                          : "Triple",
                StateName(state));
    return 0;
}
