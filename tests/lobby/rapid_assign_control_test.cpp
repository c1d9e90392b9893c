// The main window's side of the friends-list assistant, played on a real
// tournament state: the scripts of tests/data/lobby/rapid_assign.txt (the
// lifecycle hooks, the clear question and its bit, signing up as the sign-up
// box does, erasing, the nick-change notice), then the menu item, the search,
// the folder and a list far larger than the bracket.
#include <gtest/gtest.h>

#include <filesystem>
#include <utility>

#include "engine/signup.h"
#include "engine/tourney_file.h"
#include "fakes/case_file.h"
#include "lobby/friends_fixture.h"
#include "session/lifecycle.h"

namespace kestrova::testing {
namespace {

class RapidAssignControlTest : public FriendsFixture {
  public:
    void TestBody() override {}  // also played by hand, one per script
    void SetUp() override {
        FriendsFixture::SetUp();
        Make();
        control->OnMenuChanged = [this] { ++menuChanges; };
    }
    void NewTourney(int choice) {
        TNewTourneyOptions o;
        o.Path = dir.File("t");
        o.RapidAssignChoice = choice;
        StartNewTourney(s, o);
    }
    // The lobby client writes the list and the watcher's notice arrives.
    void LobbyWrites(const std::string& names) {
        WriteFriends("[Friends]\r\n" + names);
        ra->Reload();
    }
    std::string Since(const std::string& check, const std::vector<std::string>& list) {
        size_t& from = seen[check];
        std::string out = from == list.size() ? "(none)" : "";
        for (size_t i = from; i < list.size(); ++i) out += (i == from ? "" : " | ") + list[i];
        from = list.size();
        return out;
    }
    void Step(const std::string& key, const std::string& v);

  protected:
    std::map<std::string, size_t> seen;
    int menuChanges = 0;
};

void RapidAssignControlTest::Step(const std::string& key, const std::string& v) {
    auto on = [&] { return v == "on"; };
    auto bit = [&](uint32_t b, bool set) {
        auto& f = s.Settings.ConfirmNotifyFilter;
        f = set ? f | b : f & ~b;
    };
    if (key == "friends") WriteFriends(v);
    else if (key == "lobby writes") {
        std::string text;
        for (size_t from = 0;;) {
            const size_t bar = v.find(" | ", from);
            text += v.substr(from, bar - from) + "\r\n";
            if (bar == std::string::npos) break;
            from = bar + 3;
        }
        LobbyWrites(text);
    } else if (key == "answer") world.Dialogs.ConfirmAnswers.push_back({v.rfind("yes", 0) == 0, v.find("don't") != std::string::npos});
    else if (key == "bit") bit(confirm_bits::ClearZoneFriends, on());
    else if (key == "notice bit") bit(confirm_bits::ZoneFriendsRenamedNotice, on());
    else if (key == "default clear") s.Settings.DefaultClearZfList = on();
    else if (key == "team mode") s.TeamMode = on();
    else if (key == "new tourney") NewTourney(std::stoi(v));
    else if (key == "close signups") CloseSignups(s);
    else if (key == "mode") control->ModeChosen(TRapidAssignMode::Added);
    else if (key == "stop") ra->SetActive(false);
    else if (key == "reload") ra->Reload();
    else if (key == "title") window.SetTitle(v);
    else if (key == "advance") loop.AdvanceMs(std::stoi(v));
    else if (key == "tick notices") world.Dialogs.TickNotices = true;
    else if (key == "menu changed") EXPECT_GT(std::exchange(menuChanges, 0), 0);
    else if (key == "open the file") {
        ASSERT_TRUE(SaveTourney(s));
        OpenTourney(s, s.TourneyPath);
    } else if (key == "erase") {
        for (int t = 0; t < MaxTablesPerRound; ++t)
            for (int seat = 0; seat < 2; ++seat)
                if (const TPlayer* p = s.Winners[0].Tables[t].Seat[seat]; p && p->Name == v) {
                    EditPlayerName(s, TBracketKind::Winners, 0, t, seat, "");
                    return;
                }
        ADD_FAILURE() << "no " << v << " in the first round";
    }
    // Checks.
    else if (key == "names") {
        std::string names;
        for (const auto& n : Names()) names += (names.empty() ? "" : " | ") + n;
        EXPECT_EQ(names, v);
    }
    else if (key == "file") EXPECT_EQ(ReadFriends(), v);
    else if (key == "backup") EXPECT_EQ(std::filesystem::exists(BackupFile()) ? "kept" : "none", v);
    else if (key == "asked") EXPECT_EQ(Since(key, world.Dialogs.Asked), v);
    else if (key == "notices") EXPECT_EQ(Since(key, world.Dialogs.Notices), v);
    else if (key == "messages") EXPECT_EQ(Since(key, world.Dialogs.Messages), v);
    else if (key == "postings") {
        size_t& from = seen[key];
        EXPECT_EQ(announcer.Postings.size() - from, std::stoul(v));
        from = announcer.Postings.size();
    }
    else if (key == "menu") {
        std::string m = control->MenuEnabled() ? "enabled" : "";
        if (control->Checked()) m += ", checked";
        if (control->SearchEnabled()) m += m.empty() ? "search" : ", search";
        EXPECT_EQ(m, v);
        EXPECT_EQ(ra->Active(), control->Checked());
    } else if (key == "bit is") EXPECT_EQ((s.Settings.ConfirmNotifyFilter & confirm_bits::ClearZoneFriends) != 0, on());
    else if (key == "notice bit is") EXPECT_EQ((s.Settings.ConfirmNotifyFilter & confirm_bits::ZoneFriendsRenamedNotice) != 0, on());
    else if (key == "default clear is") EXPECT_EQ(s.Settings.DefaultClearZfList, on());
    else if (key == "log") EXPECT_NE(Log().find(v), std::string::npos) << v;
    else ADD_FAILURE() << "unknown step " << key;
}

TEST(RapidAssignControl, EachScriptPlaysAsWritten) {
    for (const TCase& c : ReadCases("lobby/rapid_assign.txt")) {
        SCOPED_TRACE(c.Where());
        RapidAssignControlTest t;
        t.SetUp();
        for (const auto& [key, value] : c.Fields) {
            SCOPED_TRACE(key + " = " + value);
            t.Step(key, value);
        }
        t.TearDown();
    }
}

TEST_F(RapidAssignControlTest, TheMenuItemLogsWhatItLeft) {
    control->ActiveClicked();
    EXPECT_TRUE(control->Checked());
    control->ActiveClicked();
    EXPECT_FALSE(control->Checked());
    favorites.Root.clear();
    ra->RereadRootPath();
    control->ActiveClicked();  // cannot start: the item stays unchecked
    EXPECT_FALSE(control->Checked());
    const std::string log = Log();
    EXPECT_NE(log.find("Menu: RapidAssign = On\r\nMenu: RapidAssign = Off\r\n"
                       "Menu: RapidAssign = Off\r\n"),
              std::string::npos)
        << log;
    EXPECT_EQ(diagnostics.Lines,
              std::vector<std::string>{"KESTROVA: ZoneFriends root path not found\r\n"});
    // Where there is no debugger output the lines go to standard error and the log.
    TLogDiagnostics(s).Output("KESTROVA: ZoneFriends root path not found\r\n");
    EXPECT_NE(Log().find("Menu: RapidAssign = Off\r\nKESTROVA: ZoneFriends root path not "
                         "found\r\n"),
              std::string::npos);
}

TEST_F(RapidAssignControlTest, TheSearchTicksEveryNickButTheActiveOne) {
    EXPECT_TRUE(control->SearchUnrestored().empty());
    EXPECT_EQ(world.Dialogs.Messages,
              std::vector<std::string>{"No ZoneFriends backup files where found to be restored"});
    std::filesystem::create_directories(Nick("Old"));
    WriteFriends("[Friends]\r\nscratch\r\n", "Old");
    WriteFileBytes(BackupFile("Old"), "[Friends]\r\nmine\r\n");
    control->ActiveClicked();
    std::vector<TUnrestoredList> lists = control->SearchUnrestored();
    ASSERT_EQ(lists.size(), 2u);
    EXPECT_EQ(lists[0].Nick, "Hoster");
    EXPECT_FALSE(lists[0].Ticked);
    EXPECT_EQ(lists[1].Nick, "Old");
    EXPECT_TRUE(lists[1].Ticked);
    control->RestoreLists(lists);
    EXPECT_EQ(ReadFriends("Old"), "[Friends]\r\nmine\r\n");
    EXPECT_TRUE(std::filesystem::exists(BackupFile()));  // the active one is left alone
}

TEST_F(RapidAssignControlTest, TheFolderChosenByTheHostIsUsedFromTheNextStart) {
    const std::string other = dir.Path() + "Elsewhere";
    std::filesystem::create_directories(other + "/Hoster");
    WriteFileBytes(other + "/Hoster/Friends.txt", "[Friends]\r\n");
    world.Dialogs.Folders.push_back(std::nullopt);  // Cancel changes nothing
    control->ChooseFolder();
    EXPECT_EQ(s.Settings.FriendsFolder, "");
    favorites.Root = other;  // the favourites port reads the setting
    world.Dialogs.Folders.push_back(other);
    control->ChooseFolder();
    EXPECT_EQ(s.Settings.FriendsFolder, other);
    EXPECT_EQ(ra->RootPath(), other + "/");
    EXPECT_GE(world.Settings.Saves, 1);
    control->ActiveClicked();
    EXPECT_TRUE(std::filesystem::exists(other + "/Hoster/Friends.bak"));
}

TEST_F(RapidAssignControlTest, TenThousandNamesFillTheBracketWithOneBox) {
    NewTourney(1);
    std::string names;
    for (int i = 0; i < 10000; ++i)
        names += "P" + std::to_string(i) + "\r\n";
    LobbyWrites(names);
    EXPECT_EQ(s.Players.size(), 128u);
    EXPECT_EQ(world.Dialogs.Messages,
              std::vector<std::string>{"There is no more space in the bracket for more players."});
    EXPECT_EQ(ra->Friends().size(), 10000u);
}

}  // namespace
}  // namespace kestrova::testing
