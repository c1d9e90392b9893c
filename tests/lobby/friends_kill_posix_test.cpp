// A program killed while the assistant is active leaves the host's list in
// "Friends.bak"; a fresh process finds it with the search and puts it back
// byte for byte.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include "lobby/friends_fixture.h"

namespace kestrova::testing {
namespace {

// The host's own list, with bytes a careless copy would spoil.
const std::string kOwnList =
    "[Options]\r\nx=1\r\n[Friends]\r\nAnna\r\n\xC9lodie\rBob\n\r\n[Blocked]\r\nZed";

// Runs `body` in a child process; its exit status.
int InChild(const std::function<int()>& body) {
    pid_t pid = ::fork();
    if (pid == 0) ::_exit(body());
    int status = 0;
    ::waitpid(pid, &status, 0);
    return status;
}

class FriendsKillTest : public FriendsFixture {
  public:
    // A whole assistant as a process of the program builds it.
    std::unique_ptr<TRapidAssign> Fresh(TFriendsPlatform& platform, IRapidAssignLoop& loop) {
        TRapidAssignPorts p;
        p.Favorites = &favorites;
        p.Window = platform.Window.get();
        p.Files = platform.Files.get();
        p.Watcher = platform.Watcher.get();
        p.Diagnostics = &diagnostics;
        p.Loop = &loop;
        p.Dialogs = &world.Dialogs;
        return std::make_unique<TRapidAssign>(p);
    }
};

TEST_F(FriendsKillTest, AKilledProgramsBackupIsFoundAndRestored) {
    WriteFriends(kOwnList);
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    pid_t child = ::fork();
    if (child == 0) {
        // The program: active on the nick's folder, the list cleared and
        // scratch names written, then it waits to be killed.
        ::close(ready[0]);
        TFriendsPlatform platform = MakeDefaultFriendsPlatform(nullptr);
        auto ra = Fresh(platform, loop);
        ra->SetActive(true);
        ra->ClearFriends();
        WriteFileBytes(FriendsFile(), "[Friends]\r\nScratch\r\n");
        char ok = ra->Active() ? 'y' : 'n';
        (void)!::write(ready[1], &ok, 1);
        for (;;)
            ::pause();
    }
    ::close(ready[1]);
    char ok = 0;
    ASSERT_EQ(::read(ready[0], &ok, 1), 1);
    ::close(ready[0]);
    ASSERT_EQ(ok, 'y');
    ::kill(child, SIGKILL);
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status));
    EXPECT_EQ(ReadFriends(), "[Friends]\r\nScratch\r\n");
    EXPECT_EQ(ReadFileBytes(BackupFile()), kOwnList);

    // The next start: the search finds the nick and Restore puts the list back.
    status = InChild([&] {
        TFriendsPlatform platform = MakeDefaultFriendsPlatform(nullptr);
        auto ra = Fresh(platform, loop);
        TRapidAssignControl control(s, *ra);
        std::vector<TUnrestoredList> lists = control.SearchUnrestored();
        if (lists.size() != 1 || lists[0].Nick != "Hoster" || !lists[0].Ticked) return 1;
        control.RestoreLists(lists);
        return control.SearchUnrestored().empty() ? 0 : 2;
    });
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(ReadFriends(), kOwnList);
    EXPECT_FALSE(std::filesystem::exists(BackupFile()));
}

}  // namespace
}  // namespace kestrova::testing
