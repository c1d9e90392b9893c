// The friends-list assistant and the main window's side of it, played from
// scripts: tests/data/lobby/friends_reloads.txt (the bare assistant's
// reloads) and tests/data/lobby/rapid_assign.txt (the backup, writes,
// faults, refused starts, the nick check, the search, and the control on a
// real tournament state). The vocabulary is in rapid_assign.txt's opening.
#include <gtest/gtest.h>

#include <filesystem>
#include <utility>

#include "engine/signup.h"
#include "engine/tourney_file.h"
#include "fakes/case_file.h"
#include "lobby/friends_fixture.h"
#include "lobby/script_steps.h"
#include "session/lifecycle.h"

namespace kestrova::testing {
namespace {

namespace fs = std::filesystem;

class RapidAssignScript : public FriendsFixture {
  public:
    void TestBody() override {}  // played by hand, one per script
    void SetUp() override {
        FriendsFixture::SetUp();
        Make();
        control->OnMenuChanged = [this] { ++menuChanges; };
    }
    void Step(const std::string& key, const std::string& v) { RunStep(actions, checks, key, v); }

  private:
    // The bare assistant over `text`, its events recorded.
    void Start(const std::string& text) {
        WriteFriends(text);
        control.reset();
        Make(false);
        ra->OnPlayerAdded = [this](const std::string& n) {
            events.push_back("+" + n);
            if (auto write = duringAdd.find(n); write != duringAdd.end()) {
                WriteFriends(write->second);  // a modal box runs the loop meanwhile
                ra->Reload();
            }
        };
        ra->OnPlayerRemoved = [this](const std::string& n) { events.push_back("-" + n); };
        ra->OnNameChanged = [this] { events.push_back("nick"); };
        ra->SetActive(true);
    }
    void NewTourney(int choice) {
        TNewTourneyOptions o;
        o.Path = dir.File("t");
        o.RapidAssignChoice = choice;
        StartNewTourney(s, o);
    }
    void LobbyWrites(const std::vector<std::string>& names) {
        std::string text = "[Friends]\r\n";
        for (const std::string& name : names)
            text += name + "\r\n";
        WriteFriends(text);
        ra->Reload();
    }
    void Erase(const std::string& name) {
        for (int t = 0; t < MaxTablesPerRound; ++t)
            for (int seat = 0; seat < 2; ++seat)
                if (const TPlayer* p = s.Winners[0].Tables[t].Seat[seat]; p && p->Name == name) {
                    EditPlayerName(s, TBracketKind::Winners, 0, t, seat, "");
                    return;
                }
        ADD_FAILURE() << "no " << name << " in the first round";
    }
    // "NICK: TEXT": `file` of that nick's folder written.
    void WriteInNick(const std::string& v, const std::string& file) {
        const size_t colon = v.find(": ");
        fs::create_directories(Nick(v.substr(0, colon)));
        WriteFileBytes(Nick(v.substr(0, colon)) + file, v.substr(colon + 2));
    }
    void SetBit(uint32_t bit, bool on) {
        uint32_t& f = s.Settings.ConfirmNotifyFilter;
        f = on ? f | bit : f & ~bit;
    }
    std::string BitIs(uint32_t bit) const { return OnOff(s.Settings.ConfirmNotifyFilter & bit); }
    // "NICK: TEXT" -> "NICK: " and what `file` of that nick holds.
    std::string InNick(const std::string& v, const std::string& file) {
        const std::string nick = v.substr(0, v.find(": "));
        return nick + ": " + FileOrNone(Nick(nick) + file);
    }
    std::string Menu() const {
        EXPECT_EQ(ra->Active(), control->Checked());
        std::string m = control->MenuEnabled() ? "enabled" : "";
        if (control->Checked()) m += ", checked";
        if (control->SearchEnabled()) m += m.empty() ? "search" : ", search";
        return m;
    }
    std::string Search() {
        lists = control->SearchUnrestored();
        std::vector<std::string> shown;
        for (const TUnrestoredList& l : lists)
            shown.push_back(l.Nick + (l.Ticked ? "" : " (not ticked)"));
        return Joined(shown);
    }
    std::string Tmp(std::string text) {  // the temporary folder shown as "TMP/"
        for (size_t at; (at = text.find(dir.Path())) != std::string::npos;)
            text.replace(at, dir.Path().size(), "TMP/");
        return text;
    }
    std::string Pauses() {
        std::vector<std::string> shown;
        for (int ms : files.Pauses)
            shown.push_back(std::to_string(ms));
        return since("pauses", shown);
    }

    TSinceLast since;
    std::vector<std::string> events;
    std::map<std::string, std::string> duringAdd;
    std::vector<TUnrestoredList> lists;
    int menuChanges = 0;
    size_t postings = 0;

    const std::map<std::string, TAction> actions = {
        // The bare assistant.
        {"start", [this](const std::string& v) { Start(v); }},
        {"write",
         [this](const std::string& v) {
             WriteFriends(v);
             events.clear();
             ra->Reload();
         }},
        {"while adding", [this](const std::string& v) { duringAdd.insert(Arrow(v)); }},
        {"activate", [this](const std::string&) { ra->SetActive(true); }},
        {"stop", [this](const std::string&) { ra->SetActive(false); }},
        {"reload", [this](const std::string&) { ra->Reload(); }},
        {"remove friend", [this](const std::string& v) { ra->RemoveFriend(v); }},
        {"clear friends", [this](const std::string&) { ra->ClearFriends(); }},
        {"destroy", [this](const std::string&) { ra.reset(); }},
        // The platform.
        {"friends", [this](const std::string& v) { WriteFriends(v); }},
        {"remove the file", [this](const std::string&) { fs::remove(FriendsFile()); }},
        {"nick file", [this](const std::string& v) { WriteInNick(v, "Friends.txt"); }},
        {"nick backup", [this](const std::string& v) { WriteInNick(v, "Friends.bak"); }},
        {"nick folder", [this](const std::string& v) { fs::create_directories(Nick(v)); }},
        {"backup is a folder",
         [this](const std::string& v) { fs::create_directories(BackupFile(v)); }},
        {"file becomes a folder",
         [this](const std::string& v) {
             fs::remove(FriendsFile(v));
             fs::create_directories(FriendsFile(v));
         }},
        {"root",
         [this](const std::string& v) { favorites.Root = v == "none" ? "" : dir.File(v + "/"); }},
        {"reread root", [this](const std::string&) { ra->RereadRootPath(); }},
        {"window",
         [this](const std::string& v) {
             window.Window.Kind =
                 v == "none" ? TClientWindow::TKind::NoWindow : TClientWindow::TKind::CannotList;
         }},
        {"title", [this](const std::string& v) { window.SetTitle(v); }},
        {"advance", [this](const std::string& v) { loop.AdvanceMs(std::stoi(v)); }},
        {"fail reads", [this](const std::string& v) { files.FailReads = std::stoi(v); }},
        {"fail writes", [this](const std::string& v) { files.FailWrites = v == "on"; }},
        {"fail copies", [this](const std::string& v) { files.FailCopies = v == "on"; }},
        {"diagnostic", [this](const std::string& v) { TLogDiagnostics(s).Output(v); }},
        // The window's side.
        {"lobby writes", [this](const std::string& v) { LobbyWrites(Split(v)); }},
        {"lobby writes numbered",
         [this](const std::string& v) {
             std::vector<std::string> names;
             for (int i = 0; i < std::stoi(Split(v, " ")[1]); ++i)
                 names.push_back(Split(v, " ")[0] + std::to_string(i));
             LobbyWrites(names);
         }},
        {"answer",
         [this](const std::string& v) {
             const bool dontAsk = v.find("don't") != std::string::npos;
             world.Dialogs.ConfirmAnswers.push_back({v.starts_with("yes"), dontAsk});
         }},
        {"bit",
         [this](const std::string& v) { SetBit(confirm_bits::ClearZoneFriends, v == "on"); }},
        {"notice bit",
         [this](const std::string& v) {
             SetBit(confirm_bits::ZoneFriendsRenamedNotice, v == "on");
         }},
        {"default clear",
         [this](const std::string& v) { s.Settings.DefaultClearZfList = v == "on"; }},
        {"team mode", [this](const std::string& v) { s.TeamMode = v == "on"; }},
        {"new tourney", [this](const std::string& v) { NewTourney(std::stoi(v)); }},
        {"close signups", [this](const std::string&) { CloseSignups(s); }},
        {"mode", [this](const std::string&) { control->ModeChosen(TRapidAssignMode::Added); }},
        {"click", [this](const std::string&) { control->ActiveClicked(); }},
        {"tick notices", [this](const std::string&) { world.Dialogs.TickNotices = true; }},
        {"open the file",
         [this](const std::string&) {
             ASSERT_TRUE(SaveTourney(s));
             OpenTourney(s, s.TourneyPath);
         }},
        {"erase", [this](const std::string& v) { Erase(v); }},
        {"restore", [this](const std::string& v) { ra->RestoreFriendsFile(v); }},
        {"restore ticked", [this](const std::string&) { control->RestoreLists(lists); }},
        {"choose folder",
         [this](const std::string& v) {
             world.Dialogs.Folders.push_back(v == "cancel" ? std::nullopt
                                                           : std::optional(dir.File(v)));
             control->ChooseFolder();
         }},
    };
    const std::map<std::string, TCheck> checks = {
        {"events", [this](const std::string&) { return Joined(events); }},
        {"held", [this](const std::string&) { return Joined(ra->Friends()); }},
        {"active", [this](const std::string&) { return YesNo(ra->Active()); }},
        {"nick", [this](const std::string&) { return ra->Nick(); }},
        {"timer", [this](const std::string&) { return OnOff(loop.TimerRunning()); }},
        {"pauses", [this](const std::string&) { return Pauses(); }},
        {"reads", [this](const std::string&) { return std::to_string(files.Reads); }},
        {"diagnostics",
         [this](const std::string&) { return Tmp(since("diagnostics", diagnostics.Lines)); }},
        {"unrestored", [this](const std::string&) { return Joined(ra->FindUnrestoredLists()); }},
        {"search", [this](const std::string&) { return Search(); }},
        {"root path", [this](const std::string&) { return Tmp(ra->RootPath()); }},
        {"folder setting", [this](const std::string&) { return Tmp(s.Settings.FriendsFolder); }},
        {"settings saved", [this](const std::string&) { return YesNo(world.Settings.Saves > 0); }},
        {"menu changed",
         [this](const std::string&) { return std::exchange(menuChanges, 0) ? "" : "not told"; }},
        {"players", [this](const std::string&) { return std::to_string(s.Players.size()); }},
        {"names", [this](const std::string&) { return Joined(Names()); }},
        {"file", [this](const std::string&) { return FileOrNone(FriendsFile()); }},
        {"backup", [this](const std::string&) { return FileOrNone(BackupFile()); }},
        {"asked", [this](const std::string&) { return since("asked", world.Dialogs.Asked); }},
        {"notices", [this](const std::string&) { return since("notices", world.Dialogs.Notices); }},
        {"messages",
         [this](const std::string&) { return since("messages", world.Dialogs.Messages); }},
        {"postings",
         [this](const std::string&) {
             const size_t now = announcer.Postings.size();
             return std::to_string(now - std::exchange(postings, now));
         }},
        {"menu", [this](const std::string&) { return Menu(); }},
        {"log",
         [this](const std::string& v) { return Log().find(v) != std::string::npos ? v : Log(); }},
        {"file of", [this](const std::string& v) { return InNick(v, "Friends.txt"); }},
        {"backup of", [this](const std::string& v) { return InNick(v, "Friends.bak"); }},
        {"bit is", [this](const std::string&) { return BitIs(confirm_bits::ClearZoneFriends); }},
        {"notice bit is",
         [this](const std::string&) { return BitIs(confirm_bits::ZoneFriendsRenamedNotice); }},
        {"default clear is",
         [this](const std::string&) { return OnOff(s.Settings.DefaultClearZfList); }},
    };
};

TEST(RapidAssign, EachScriptPlaysAsWritten) {
    PlayScripts<RapidAssignScript>("lobby/friends_reloads.txt");
    PlayScripts<RapidAssignScript>("lobby/rapid_assign.txt");
}

}  // namespace
}  // namespace kestrova::testing
