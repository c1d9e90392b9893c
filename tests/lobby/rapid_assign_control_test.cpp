// The main window's side of the friends-list assistant, played on a real
// tournament state: the lifecycle hooks, the clear-the-list question and its
// bit, signing up as the sign-up box does, erasing, the nick-change notice,
// the menu's state and the search.
#include <gtest/gtest.h>

#include <filesystem>

#include "engine/signup.h"
#include "engine/tourney_file.h"
#include "lobby/friends_fixture.h"
#include "session/lifecycle.h"

namespace kestrova::testing {
namespace {

constexpr const char* kClear =
    "There are names in the ZoneFriends list, do you want to clear them?\r\nThey will be "
    "restored when the tournament is closed.";

class RapidAssignControlTest : public FriendsFixture {
  protected:
    void SetUp() override {
        FriendsFixture::SetUp();
        Make();
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
    int Count(const std::string& text, const std::string& what) {
        int n = 0;
        for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
            ++n;
        return n;
    }
};

TEST_F(RapidAssignControlTest, ANewTournamentAddedToZfSignsUpUntilSignupsClose) {
    WriteFriends("[Friends]\r\nOwn1\r\nOwn2\r\n");
    world.Dialogs.AnswerYes();
    NewTourney(1);
    EXPECT_TRUE(ra->Active());
    EXPECT_TRUE(control->MenuEnabled() && control->Checked() && !control->SearchEnabled());
    EXPECT_EQ(world.Dialogs.Asked, std::vector<std::string>{kClear});
    EXPECT_TRUE(s.Settings.DefaultClearZfList);
    EXPECT_EQ(ReadFriends(), "[Friends]\r\n");

    LobbyWrites("Anna\r\nBob\r\n");
    LobbyWrites("Anna\r\nBob\r\nCarl\r\nDora\r\nEmil\r\n");
    EXPECT_EQ(Names(), (std::vector<std::string>{"Anna", "Bob", "Carl", "Dora", "Emil"}));
    const std::string log = Log();
    EXPECT_NE(
        log.find("Event: RapidAssign player added = Anna\r\n    -> Player \"Anna\" added to table"),
        std::string::npos);
    EXPECT_EQ(Count(log, "Event: RapidAssign player added = "), 5);
    EXPECT_EQ(announcer.Postings.size(), 5u);  // announced as the sign-up box does

    LobbyWrites("Anna\r\nBob\r\nCarl\r\nDora\r\nEmil\r\nFay\r\nGus\r\nHal\r\n");
    ASSERT_EQ(s.Players.size(), 8u);
    CloseSignups(s);
    ASSERT_TRUE(s.SignupClosed);
    EXPECT_FALSE(ra->Active());
    EXPECT_FALSE(control->MenuEnabled() || control->Checked());
    EXPECT_TRUE(control->SearchEnabled());
    EXPECT_EQ(ReadFriends(), "[Friends]\r\nOwn1\r\nOwn2\r\n");
    EXPECT_FALSE(std::filesystem::exists(BackupFile()));
    control->ActiveClicked();  // the host cannot start it while closed: no list is touched
    NewTourney(0);
    EXPECT_TRUE(control->MenuEnabled());
    EXPECT_FALSE(ra->Active());
}

TEST_F(RapidAssignControlTest, TheClearQuestionAndItsBit) {
    struct TCase {
        const char* Name;
        bool BitSet, DefaultClear;
        std::optional<TConfirmAnswer> Answer;  // none: not asked
        bool Cleared, BitAfter, DefaultAfter;
    };
    const std::vector<TCase> cases = {
        {"asked, Yes", false, false, TConfirmAnswer{true, false}, true, false, true},
        {"asked, No", false, true, TConfirmAnswer{false, false}, false, false, false},
        {"asked, Yes and don't ask", false, false, TConfirmAnswer{true, true}, true, true, true},
        {"asked, No and don't ask", false, true, TConfirmAnswer{false, true}, false, true, false},
        {"bit set, stored Yes", true, true, std::nullopt, true, true, true},
        {"bit set, stored No", true, false, std::nullopt, false, true, false},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        ra->SetActive(false);
        WriteFriends("[Friends]\r\nOwn\r\n");
        world.Dialogs.Asked.clear();
        s.Settings.ConfirmNotifyFilter = c.BitSet ? confirm_bits::ClearZoneFriends : 0;
        s.Settings.DefaultClearZfList = c.DefaultClear;
        if (c.Answer) world.Dialogs.ConfirmAnswers.push_back(*c.Answer);
        NewTourney(1);
        EXPECT_EQ(world.Dialogs.Asked.size(), c.Answer ? 1u : 0u);
        EXPECT_EQ(ReadFriends(), c.Cleared ? "[Friends]\r\n" : "[Friends]\r\nOwn\r\n");
        EXPECT_EQ((s.Settings.ConfirmNotifyFilter & confirm_bits::ClearZoneFriends) != 0,
                  c.BitAfter);
        EXPECT_EQ(s.Settings.DefaultClearZfList, c.DefaultAfter);
    }
    // An empty list, or the other mode, asks nothing.
    s.Settings.ConfirmNotifyFilter = 0;
    world.Dialogs.Asked.clear();
    ra->SetActive(false);
    WriteFriends("[Friends]\r\n");
    NewTourney(1);
    ra->SetActive(false);
    WriteFriends("[Friends]\r\nOwn\r\n");
    NewTourney(2);
    EXPECT_TRUE(world.Dialogs.Asked.empty());
    // Choosing the add mode again while active asks; choosing it when checked does not.
    control->ModeChosen(TRapidAssignMode::Added);
    control->ModeChosen(TRapidAssignMode::Added);
    EXPECT_EQ(world.Dialogs.Asked.size(), 1u);
}

TEST_F(RapidAssignControlTest, RemovedModeSignsUpWhoLeavesTheList) {
    WriteFriends("[Friends]\r\nAnna\r\nBob\r\nCarl\r\n");
    NewTourney(2);
    ASSERT_TRUE(ra->Active());
    EXPECT_EQ(ra->Friends().size(), 3u);  // nothing cleared in this mode
    LobbyWrites("Anna\r\nCarl\r\nDora\r\n");
    EXPECT_EQ(Names(), std::vector<std::string>{"Bob"});
    const std::string log = Log();
    EXPECT_NE(log.find("Event: RapidAssign player added = Dora"), std::string::npos);
    EXPECT_NE(log.find("Event: RapidAssign player removed = Bob"), std::string::npos);
    // In add mode the same change signs up the other way round (the list is
    // kept: the host answers No to clearing it).
    world.Dialogs.AnswerNo();
    control->ModeChosen(TRapidAssignMode::Added);
    EXPECT_EQ(world.Dialogs.Asked, std::vector<std::string>{kClear});
    LobbyWrites("Carl\r\nDora\r\nEve\r\n");
    EXPECT_EQ(Names(), (std::vector<std::string>{"Bob", "Eve"}));
}

TEST_F(RapidAssignControlTest, NamesGoThroughTheSignupFilterOnce) {
    NewTourney(1);
    LobbyWrites(
        "Anna\r\nanna\r\nANNA\r\nAnna Lee\r\n***\r\nAbcdefghijklmnopqrst\r\n"
        "Abcdefghijklmnopqrstu\r\n\xC9lodie\r\nBo_b99\r\n");
    // Duplicates are not signed twice, the filter drops blanks and other
    // characters and keeps 15, and a name longer than 20 is refused.
    EXPECT_EQ(Names(),
              (std::vector<std::string>{"Anna", "AnnaLee", "Abcdefghijklmno", "lodie", "Bo_b99"}));
    EXPECT_TRUE(world.Dialogs.Messages.empty());
    // The same names again in another order change nothing.
    LobbyWrites("Bo_b99\r\nAnna\r\n");
    EXPECT_EQ(s.Players.size(), 5u);
}

TEST_F(RapidAssignControlTest, ErasingASignedUpPlayerTakesTheNameOffTheFile) {
    NewTourney(1);
    LobbyWrites("Anna Lee\r\nBob\r\nCarl\r\n");
    ASSERT_EQ(Names(), (std::vector<std::string>{"AnnaLee", "Bob", "Carl"}));
    auto erase = [&](const std::string& name) {
        for (int t = 0; t < MaxTablesPerRound; ++t)
            for (int seat = 0; seat < 2; ++seat) {
                TPlayer* p = s.Winners[0].Tables[t].Seat[seat];
                if (p && p->Name == name) {
                    EditPlayerName(s, TBracketKind::Winners, 0, t, seat, "");
                    return;
                }
            }
        FAIL() << name;
    };
    erase("Bob");
    EXPECT_EQ(ReadFriends(), "[Friends]\r\nAnna Lee\r\nCarl\r\n");
    erase("AnnaLee");
    EXPECT_EQ(ReadFriends(), "[Friends]\r\nCarl\r\n");
    ra->Reload();  // the program's own write raises nothing
    EXPECT_EQ(Names(), std::vector<std::string>{"Carl"});
    // The lobby adds Bob again: a new sign-up.
    LobbyWrites("Carl\r\nBob\r\n");
    EXPECT_EQ(Names(), (std::vector<std::string>{"Carl", "Bob"}));
}

TEST_F(RapidAssignControlTest, ANickChangeDeactivatesAndTellsTheHostUnlessTold) {
    int menuChanges = 0;  // outlives the loop: the handler stays set into the next pass
    for (bool bitSet : {false, true}) {
        SCOPED_TRACE(bitSet);
        world.Dialogs.Notices.clear();
        s.Settings.ConfirmNotifyFilter = bitSet ? confirm_bits::ZoneFriendsRenamedNotice : 0;
        window.SetTitle("Zone - Hoster");
        WriteFriends("[Friends]\r\nOwn\r\n");
        world.Dialogs.AnswerNo();
        NewTourney(1);
        menuChanges = 0;
        control->OnMenuChanged = [&] { ++menuChanges; };
        window.SetTitle("Zone - Someone");
        loop.AdvanceMs(2000);
        EXPECT_FALSE(control->Checked());
        EXPECT_TRUE(control->SearchEnabled() && control->MenuEnabled());
        EXPECT_GE(menuChanges, 1);
        EXPECT_EQ(world.Dialogs.Notices.size(), bitSet ? 0u : 1u);
        if (!bitSet) {
            EXPECT_EQ(world.Dialogs.Notices[0],
                      "The ZoneFriends name has changed. Restoring the original names and "
                      "deactivating Rapid-Assign.");
        }
        EXPECT_NE(Log().find("Event: RapidAssign deactivated"), std::string::npos);
        EXPECT_EQ(ReadFriends(), "[Friends]\r\nOwn\r\n");
    }
    // Ticking "Don't tell me again" sets bit 26.
    s.Settings.ConfirmNotifyFilter = 0;
    world.Dialogs.TickNotices = true;
    window.SetTitle("Zone - Hoster");
    NewTourney(2);
    window.SetTitle("Zone - Other");
    loop.AdvanceMs(2000);
    EXPECT_TRUE(s.Settings.ConfirmNotifyFilter & confirm_bits::ZoneFriendsRenamedNotice);
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

TEST_F(RapidAssignControlTest, OpeningAFileStopsTheAssistant) {
    NewTourney(1);
    LobbyWrites("Anna\r\n");
    ASSERT_TRUE(SaveTourney(s));
    OpenTourney(s, s.TourneyPath);
    EXPECT_FALSE(ra->Active());
    EXPECT_TRUE(control->MenuEnabled());
    EXPECT_EQ(ReadFriends(), "[Friends]\r\n");  // the host's own list was empty
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
