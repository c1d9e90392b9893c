// TRapidAssign over a real favourites folder with a scripted nick: the
// backup, the reloads of tests/data/lobby/friends_reloads.txt, writing, restoring,
// the nick check on the fake clock, and the refusals and faults.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <filesystem>
#include <functional>

#include "fakes/case_file.h"
#include "lobby/friends_fixture.h"

namespace kestrova::testing {
namespace {

class RapidAssignTest : public FriendsFixture {
  protected:
    // Activates a bare assistant over `text` and records its events.
    void Activate(const std::string& text) {
        WriteFriends(text);
        Make(false);
        ra->OnPlayerAdded = [this](const std::string& n) { events.push_back("+" + n); };
        ra->OnPlayerRemoved = [this](const std::string& n) { events.push_back("-" + n); };
        ra->OnNameChanged = [this] { events.push_back("nick"); };
        ra->SetActive(true);
    }
    std::vector<std::string> events;
};

std::string Joined(const std::vector<std::string>& v) {
    std::string out = v.empty() ? "(none)" : "";
    for (size_t i = 0; i < v.size(); ++i) out += (i ? " | " : "") + v[i];
    return out;
}

TEST_F(RapidAssignTest, EachReloadRaisesWhatItsCaseSays) {
    for (const TCase& c : ReadCases("lobby/friends_reloads.txt")) {
        SCOPED_TRACE(c.Where());
        for (const auto& [key, value] : c.Fields) {
            SCOPED_TRACE(key + " = " + value);
            if (key == "start") {
                Activate(value);
                ASSERT_TRUE(ra->Active());
            } else if (key == "write") {
                WriteFriends(value);
                events.clear();
                ra->Reload();
            } else if (key == "events") {
                EXPECT_EQ(Joined(events), value);
            } else if (key == "friends") {
                EXPECT_EQ(Joined(ra->Friends()), value);
            }
        }
        ra->SetActive(false);
        EXPECT_EQ(ReadFriends(), c.Get("start"));  // the host's list is back
        EXPECT_TRUE(world.Dialogs.Messages.empty());
    }
}

TEST_F(RapidAssignTest, TheFirstBackupIsKeptAndRestoredOnStop) {
    Activate("[Friends]\r\nMine\r\n");
    EXPECT_EQ(ReadFileBytes(BackupFile()), "[Friends]\r\nMine\r\n");
    WriteFriends("[Friends]\r\nScratch\r\n");
    ra->SetActive(true);  // already active: nothing happens
    EXPECT_EQ(ReadFileBytes(BackupFile()), "[Friends]\r\nMine\r\n");
    ra->SetActive(false);
    EXPECT_EQ(ReadFriends(), "[Friends]\r\nMine\r\n");
    EXPECT_FALSE(std::filesystem::exists(BackupFile()));
    EXPECT_EQ(ra->Nick(), "");

    // A backup left by a run that never stopped is not overwritten.
    WriteFileBytes(BackupFile(), "[Friends]\r\nOriginal\r\n");
    WriteFriends("[Friends]\r\nLeftover\r\n");
    ra->SetActive(true);
    EXPECT_EQ(ReadFileBytes(BackupFile()), "[Friends]\r\nOriginal\r\n");
    EXPECT_EQ(ra->Friends(), std::vector<std::string>{"Leftover"});
    ra->SetActive(false);
    EXPECT_EQ(ReadFriends(), "[Friends]\r\nOriginal\r\n");
    EXPECT_FALSE(std::filesystem::exists(BackupFile()));
}

TEST_F(RapidAssignTest, WritingKeepsOnlyTheSection) {
    Activate("Header\r\n[Friends]\r\nAnna\r\nBob\r\nanna\r\n[Tail]\r\nX\r\n");
    ra->RemoveFriend("ANNA");  // every spelling of the name goes
    EXPECT_EQ(ReadFriends(), "[Friends]\r\nBob\r\n");
    ra->RemoveFriend("Nobody");
    EXPECT_EQ(ReadFriends(), "[Friends]\r\nBob\r\n");
    ra->ClearFriends();
    EXPECT_EQ(ReadFriends(), "[Friends]\r\n");
    EXPECT_TRUE(ra->Friends().empty());
    ra->SetActive(false);
    // Inactive: the file is the host's again and is left alone.
    const std::string restored = ReadFriends();
    ra->RemoveFriend("Bob");
    ra->ClearFriends();
    EXPECT_EQ(ReadFriends(), restored);
}

TEST_F(RapidAssignTest, AWriteThatCannotOpenTheFileOnlyTellsTheDiagnostics) {
    Activate("[Friends]\r\nAnna\r\n");
    files.FailWrites = true;
    ra->ClearFriends();
    EXPECT_EQ(diagnostics.Lines,
              std::vector<std::string>{"KESTROVA: Could open Friends.txt to write to\r\n"});
    files.FailWrites = false;
    std::filesystem::remove(FriendsFile());
    ra->RemoveFriend("Nobody");  // no change, no write
    ra->ClearFriends();          // the file must exist: it is not created
    EXPECT_FALSE(std::filesystem::exists(FriendsFile()));
    EXPECT_EQ(diagnostics.Lines.size(), 2u);
}

TEST_F(RapidAssignTest, ALockedFileIsTriedEightTimesTenMillisecondsApart) {
    Activate("[Friends]\r\nAnna\r\n");
    EXPECT_EQ(files.Pauses, std::vector<int>{10});
    files.Pauses.clear();
    WriteFriends("[Friends]\r\nAnna\r\nBob\r\n");
    files.FailReads = 7;  // the eighth try gets through
    ra->Reload();
    EXPECT_EQ(events, std::vector<std::string>{"+Bob"});
    EXPECT_EQ(files.Pauses, std::vector<int>(8, 10));

    files.Pauses.clear();
    files.FailReads = 8;
    WriteFriends("[Friends]\r\nCarl\r\n");
    ra->Reload();
    EXPECT_EQ(files.Pauses.size(), 8u);
    EXPECT_EQ(events.size(), 1u);  // a failed reload raises nothing
    EXPECT_EQ(ra->Friends(), (std::vector<std::string>{"Anna", "Bob"}));
    EXPECT_EQ(diagnostics.Lines,
              std::vector<std::string>{"KESTROVA: Could not open Friends.txt\r\n"});
    EXPECT_EQ(world.Dialogs.Messages,
              std::vector<std::string>{"Error reading ZoneFriends list: \r\n\r\n"
                                       "The file is in use by another program."});
}

TEST_F(RapidAssignTest, ARealLockOfAnotherHolderIsRefused) {
    auto real = MakeDefaultFriendsPlatform(nullptr).Files;
    WriteFriends("[Friends]\r\nAnna\r\n");
    std::string bytes, error;
    ASSERT_TRUE(real->ReadExclusive(FriendsFile(), bytes, error));
    EXPECT_EQ(bytes, "[Friends]\r\nAnna\r\n");
    int fd = ::open(FriendsFile().c_str(), O_RDONLY);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::flock(fd, LOCK_EX), 0);
    EXPECT_FALSE(real->ReadExclusive(FriendsFile(), bytes, error));
    EXPECT_NE(error.find("in use by another program"), std::string::npos) << error;
    EXPECT_FALSE(real->WriteExclusive(FriendsFile(), "[Friends]\r\n", error));
    ::close(fd);
    EXPECT_TRUE(real->WriteExclusive(FriendsFile(), "[Friends]\r\n", error));
    EXPECT_EQ(ReadFriends(), "[Friends]\r\n");  // truncated to the new length
    EXPECT_FALSE(real->WriteExclusive(dir.File("none.txt"), "x", error));
    EXPECT_FALSE(std::filesystem::exists(dir.File("none.txt")));
}

TEST_F(RapidAssignTest, AMissingFileAtTheStartShowsTheErrorAndStillStarts) {
    std::filesystem::remove(FriendsFile());
    Make(false);
    ra->SetActive(true);
    EXPECT_TRUE(ra->Active());
    EXPECT_FALSE(std::filesystem::exists(BackupFile()));
    ASSERT_EQ(world.Dialogs.Messages.size(), 1u);
    EXPECT_EQ(world.Dialogs.Messages[0].rfind("Error reading ZoneFriends list: \r\n\r\n", 0), 0u);
    ra->SetActive(false);
    EXPECT_FALSE(std::filesystem::exists(FriendsFile()));
}

// Each start that cannot happen, with the diagnostics it writes.
TEST_F(RapidAssignTest, StartsThatAreRefused) {
    struct TCase {
        const char* Name;
        std::function<void(RapidAssignTest&)> Arrange;
        std::string Diagnostic;
    };
    const std::vector<TCase> cases = {
        {"no root path", [](RapidAssignTest& t) { t.favorites.Root.clear(); },
         "KESTROVA: ZoneFriends root path not found\r\n"},
        {"no lobby window",
         [](RapidAssignTest& t) {
             t.window.Window = {TClientWindow::TKind::NoWindow, {}};
         },
         "KESTROVA: Could not find the ZoneFriends window\r\n"},
        {"no nick in the title", [](RapidAssignTest& t) { t.window.SetTitle("Zone-Hoster"); },
         "KESTROVA: Could not find the nick in the ZoneFriends window's title\r\n"},
        {"an empty nick", [](RapidAssignTest& t) { t.window.SetTitle("Zone - "); }, ""},
        {"no window list and no nick folder",
         [](RapidAssignTest& t) {
             t.window.Window = {};
             std::filesystem::remove(t.FriendsFile());
         },
         "KESTROVA: No nick folder with a Friends.txt in "},
        {"no window list and two nick folders",
         [](RapidAssignTest& t) {
             t.window.Window = {};
             std::filesystem::create_directories(t.Nick("Other"));
             t.WriteFriends("[Friends]\r\n", "Other");
         },
         "KESTROVA: More than one nick folder with a Friends.txt in "},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        diagnostics.Lines.clear();
        std::filesystem::remove_all(favorites.Root);
        std::filesystem::create_directories(Nick());
        favorites.Root = dir.Path() + "Favorites/";
        window.SetTitle("Zone - Hoster");
        WriteFriends("[Friends]\r\n");
        c.Arrange(*this);
        Make(false).SetActive(true);
        EXPECT_FALSE(ra->Active());
        EXPECT_FALSE(loop.TimerRunning());
        EXPECT_FALSE(std::filesystem::exists(BackupFile()));
        if (c.Diagnostic.empty()) {
            EXPECT_TRUE(diagnostics.Lines.empty());
        } else {
            ASSERT_EQ(diagnostics.Lines.size(), 1u);
            EXPECT_EQ(diagnostics.Lines[0].rfind(c.Diagnostic, 0), 0u) << diagnostics.Lines[0];
        }
    }
}

TEST_F(RapidAssignTest, WithoutAWindowListTheOneNickFolderIsTheNick) {
    window.Window = {};
    std::filesystem::create_directories(Nick("Empty"));  // no Friends.txt: not a nick
    Activate("[Friends]\r\nAnna\r\n");
    ASSERT_TRUE(ra->Active());
    EXPECT_EQ(ra->Nick(), "Hoster");
    EXPECT_TRUE(std::filesystem::exists(BackupFile()));
    loop.AdvanceMs(10000);  // the folders do not change: the nick stays
    EXPECT_TRUE(ra->Active());
}

TEST_F(RapidAssignTest, TheNickIsCheckedEveryTwoSeconds) {
    Activate("[Friends]\r\nMine\r\n");
    WriteFriends("[Friends]\r\nScratch\r\n");
    window.SetTitle("Zone Client - HOSTER");  // the same nick in other case
    loop.AdvanceMs(4000);
    EXPECT_TRUE(ra->Active());
    window.SetTitle("Zone Client - Guest - 2");
    loop.AdvanceMs(1999);
    EXPECT_TRUE(ra->Active());
    loop.AdvanceMs(1);
    EXPECT_FALSE(ra->Active());
    EXPECT_FALSE(loop.TimerRunning());
    EXPECT_EQ(events, std::vector<std::string>{"nick"});
    EXPECT_EQ(diagnostics.Lines,
              std::vector<std::string>{
                  "KESTROVA: ZoneFriends nick has changed, deactivating RapidAssign\r\n"});
    EXPECT_EQ(ReadFriends(), "[Friends]\r\nMine\r\n");
    loop.AdvanceMs(10000);
    EXPECT_EQ(events.size(), 1u);

    // The lobby window closing counts as a change of nick.
    window.SetTitle("Zone - Hoster");
    ra->SetActive(true);
    window.Window = {TClientWindow::TKind::NoWindow, {}};
    loop.AdvanceMs(2000);
    EXPECT_FALSE(ra->Active());
    EXPECT_EQ(events.size(), 2u);
}

TEST_F(RapidAssignTest, SearchAndRestore) {
    Make(false);
    EXPECT_TRUE(ra->FindUnrestoredLists().empty());
    for (const char* nick : {"Bea", "Al", "Cy"}) {
        std::filesystem::create_directories(Nick(nick));
        WriteFriends(std::string("[Friends]\r\nnow ") + nick + "\r\n", nick);
    }
    WriteFileBytes(BackupFile("Bea"), "[Friends]\r\nwas Bea\r\n");
    WriteFileBytes(BackupFile("Cy"), "[Friends]\r\nwas Cy\r\n");
    std::filesystem::create_directories(Nick("Al") + "Friends.bak");  // a folder is no backup
    EXPECT_EQ(ra->FindUnrestoredLists(), (std::vector<std::string>{"Bea", "Cy"}));
    ra->RestoreFriendsFile("Bea");
    EXPECT_EQ(ReadFriends("Bea"), "[Friends]\r\nwas Bea\r\n");
    EXPECT_FALSE(std::filesystem::exists(BackupFile("Bea")));
    ra->RestoreFriendsFile("Al");  // nothing to restore
    EXPECT_EQ(ReadFriends("Al"), "[Friends]\r\nnow Al\r\n");

    // A copy that fails keeps the backup for a later search.
    files.FailCopies = true;
    ra->RestoreFriendsFile("Cy");
    EXPECT_EQ(world.Dialogs.Messages,
              std::vector<std::string>{
                  "Could not restore ZoneFriends file, the original still exists though"});
    EXPECT_EQ(ReadFileBytes(BackupFile("Cy")), "[Friends]\r\nwas Cy\r\n");
    files.FailCopies = false;
    // So does one the system refuses: Friends.txt has become a folder.
    std::filesystem::remove(FriendsFile("Cy"));
    std::filesystem::create_directories(FriendsFile("Cy"));
    ra->RestoreFriendsFile("Cy");
    EXPECT_EQ(world.Dialogs.Messages.size(), 2u);
    EXPECT_EQ(ra->FindUnrestoredLists(), std::vector<std::string>{"Cy"});
}

TEST_F(RapidAssignTest, ABoxOpenDuringAReloadDefersTheNextOne) {
    Activate("[Friends]\r\n");
    ra->OnPlayerAdded = [this](const std::string& n) {
        events.push_back("+" + n);
        if (n == "Anna") {
            // A modal box runs the loop: the lobby adds a name and the notice arrives.
            WriteFriends("[Friends]\r\nAnna\r\nBob\r\n");
            ra->Reload();
        }
    };
    WriteFriends("[Friends]\r\nAnna\r\n");
    ra->Reload();
    EXPECT_EQ(events, (std::vector<std::string>{"+Anna", "+Bob"}));
    ra->Reload();
    EXPECT_EQ(events.size(), 2u);
}

TEST_F(RapidAssignTest, NoticesAfterTheEndAreIgnored) {
    Activate("[Friends]\r\nAnna\r\n");
    ra->SetActive(false);
    WriteFriends("[Friends]\r\nBob\r\n");
    ra->Reload();
    EXPECT_TRUE(events.empty());
    EXPECT_EQ(files.Reads, 1);
    // Destroying the assistant stops it, which puts the list back.
    ra->SetActive(true);
    WriteFriends("[Friends]\r\nScratch\r\n");
    ra.reset();
    EXPECT_EQ(ReadFriends(), "[Friends]\r\nBob\r\n");
}

}  // namespace
}  // namespace kestrova::testing
