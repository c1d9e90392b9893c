// kvbtool: checks or dumps a tournament file with the program's own reader.
//   kvbtool check FILE   one summary line, exit 0; or the error text, exit 1
//   kvbtool dump FILE    the state after opening, as JSON (UTF-8)
#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <optional>
#include <string>

#include "common/file_util.h"

#include "common/cp1252.h"
#include "common/text.h"
#include "model/tourney_state.h"
#include "engine/format_store.h"
#include "records/tourney_dump.h"
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
    std::fputs("usage: kvbtool check FILE\n       kvbtool dump FILE\n", stderr);
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) return Usage();
    const std::string command = argv[1];
    if (command != "check" && command != "dump") return Usage();

    TTourneyState state;
    TToolDialogs dialogs;
    state.Ports.Dialogs = &dialogs;
    const std::string path = argv[2];
    // Opening a tournament writes its event log beside the file; the tool
    // reads a private copy so that checking a file never touches its folder.
    char folder[] = "/tmp/kvbtool-XXXXXX";
    std::optional<std::string> bytes = ReadFileIfExists(path);
    const bool copied = bytes && ::mkdtemp(folder) != nullptr;
    const std::string copy = std::string(folder) + "/copy.kvb";
    if (copied) {
        WriteFileAtomically(copy, *bytes);
        state.TourneyPath = std::string(folder) + "/none.kvb";
    }
    const bool ok = ReadTourney(state, copied ? copy : path);
    if (copied) {
        for (const char* f : {"/copy.kvb", "/copy.log", "/none.log"})
            ::unlink((folder + std::string(f)).c_str());
        ::rmdir(folder);
    }
    if (!ok) {
        std::printf("%s\n", Cp1252ToUtf8(dialogs.LastMessage).c_str());
        return 1;
    }
    state.TourneyPath = ChangeFileExt(path, ".kvb");
    state.Settings.RecentTourneys = {state.TourneyPath};
    const int version = TourneyFileVersion(path);
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
