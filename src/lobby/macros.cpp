#include "lobby/macros.h"

#include <algorithm>
#include <cmath>

#include "common/file_util.h"
#include "common/text.h"
#include "engine/status.h"
#include "formats/messages.h"
#include "formats/post_to_lobby.h"
#include "records/confirm.h"
#include "records/event_log.h"
#include "records/recent_files.h"

namespace kestrova {

namespace {
// A pause is waited in slices, so that "&Stop" cuts a long one short.
constexpr int PauseSlice = 100;

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

// Raises the stop flag's scope: the menus switch for the outermost run only.
class TRunScope {
  public:
    TRunScope(int& running, const std::function<void(bool)>& changed)
        : running_(running), changed_(changed) {
        if (running_++ == 0 && changed_) changed_(true);
    }
    ~TRunScope() {
        if (--running_ == 0 && changed_) changed_(false);
    }
    TRunScope(const TRunScope&) = delete;
    TRunScope& operator=(const TRunScope&) = delete;

  private:
    int& running_;
    const std::function<void(bool)>& changed_;
};
}  // namespace

TMacroMenus LoadMacros(const std::string& fileName) {
    TMacroMenus menus;
    TMacroFile file;
    file.Load(fileName);
    for (const TMacro& m : file.Macros) {
        if (IsPlayerMacro(m.Lines)) {
            menus.Player.push_back(m.Name);
            continue;
        }
        std::optional<THotKey> key;
        if (const std::string* text = file.HotKeyOf(m.Name)) key = ParseHotKey(*text);
        menus.General.push_back({m.Name, key});
    }
    const auto index = file.NameIndex();
    for (const TMacroBinding& b : file.Toolbar)
        if (index.count(UpperCase(b.Macro))) menus.Toolbar.push_back({b.Text, b.Macro});
    return menus;
}

bool TMacroRunner::RunLines(TTourneyState& s, const std::vector<std::string>& lines,
                            const TMsgParams& params, bool stoppable) {
    for (const std::string& line : lines) {
        if (const auto pause = DelayMilliseconds(line)) {
            for (int left = *pause; left > 0 && !(stoppable && stopRequested_); left -= PauseSlice)
                s.Lobby().Wait(std::min(left, PauseSlice));
        } else {
            PostToLobby(s, ExpandMessage(s, line, params), true);
        }
        if (stoppable && stopRequested_) return false;
    }
    return true;
}

void TMacroRunner::RunMacro(TTourneyState& s, const std::string& name) {
    const TMsgParams params = s.MsgParams;
    stopRequested_ = false;
    TRunScope scope(running_, RunningChanged);
    WriteLog(s, "Click: Macro - " + Quoted(name));
    // Read now, from the disk: a macro edited or deleted meanwhile runs as it
    // stands at its start (a deleted one posts nothing).
    const std::vector<std::string> lines = ReadMacroLines(s.Settings.MacroFileName, name);
    RunLines(s, lines, params, true);
    if (running_ == 1) stopRequested_ = false;
}

TMsgParams PlayerMacroParams(TTourneyState& s, const TPlayer& player, int stage) {
    TMsgParams p = s.MsgParams;
    p.PlayerName = player.Name;
    int k = std::clamp(stage, 0, MaxStages - 1);
    while (k + 1 < MaxStages - 1 && player.Tables[k + 1])
        ++k;
    if (const TTableRec* t = player.Tables[k]) {
        p.TableNo = t->TableNo;
        const int seat = SeatOf(*t, &player);
        const TPlayer* other = seat >= 0 ? t->Seat[1 - seat] : nullptr;
        p.OpponentName = other ? other->Name : std::string();
        p.RoundIndex = GetRoundIndex(s, RoundOf(*t), BracketOf(*t));
    }
    const double since = player.BootStart != 0 ? (s.Now() - player.BootStart) * SecondsPerDay : 0;
    p.BootSecondsLeft = s.BootTime * 60 - static_cast<int32_t>(std::lround(since));
    return p;
}

void TMacroRunner::RunPlayerMacro(TTourneyState& s, const TPlayer& player, int stage,
                                  const std::string& name) {
    const TMsgParams params = PlayerMacroParams(s, player, stage);
    WriteLog(s, "Click: Player " + Quoted(player.Name) + " macro - " + Quoted(name));
    RunLines(s, ReadMacroLines(s.Settings.MacroFileName, name), params, false);
}

void SetMacroFile(TTourneyState& s, const std::string& path) {
    s.Settings.MacroFileName = path;
    PushRecentPath(s.Settings.RecentMacroFiles, path);
    SaveSettings(s);
}

bool SaveMacrosAs(TTourneyState& s, const std::string& path) {
    if (!ReadFileIfExists(s.Settings.MacroFileName)) return false;
    try {
        if (!CopyFileAtomically(s.Settings.MacroFileName, path)) return false;
    } catch (const std::runtime_error&) {
        return false;
    }
    SetMacroFile(s, path);
    return true;
}

}  // namespace kestrova
