// The friends-list assistant on its Win32 platform: the nick from the
// stand-in client's "ZoneClient" window, the setup key's "Path", a
// "Friends.txt" the stand-in holds with share mode 0, and the watcher on a
// real change notification with its stop event.
#include <gtest/gtest.h>

#include <mutex>
#include <thread>

#include "common/file_util.h"
#include "common/wide_text.h"
#include "lobby/friends_fixture.h"
#include "lobby/friends_monitor.h"
#include "win32/stand_in.h"

namespace kestrova::testing {
namespace {

using Clock = std::chrono::steady_clock;
using Lines = std::vector<std::string>;

class FriendsWin32Test : public FriendsFixture {
  public:
    void SetUp() override {
        FriendsFixture::SetUp();
        platform = MakeDefaultFriendsPlatform(nullptr);
    }
    // The assistant over the system's files and watcher (and window, when
    // asked); the favourites folder is the test's.
    TRapidAssign& MakeSystem(bool systemWindow = false) {
        TRapidAssignPorts p;
        p.Favorites = &favorites;
        p.Window = systemWindow ? platform.Window.get() : &window;
        p.Files = platform.Files.get();
        p.Watcher = platform.Watcher.get();
        p.Diagnostics = &diagnostics;
        p.Loop = &loop;
        p.Dialogs = &world.Dialogs;
        ra = std::make_unique<TRapidAssign>(p);
        control = std::make_unique<TRapidAssignControl>(s, *ra);
        return *ra;
    }
    // Runs posted notices until `done` holds; false when none came in time.
    bool PumpUntil(const std::function<bool()>& done) {
        const auto end = Clock::now() + std::chrono::milliseconds(StandInBoundMs);
        while (!done()) {
            const auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now()).count();
            if (left <= 0 || !loop.WaitForPost(static_cast<int>(left))) return false;
            loop.RunPosted();
        }
        return true;
    }
    // Appends as another program would: its open fails while we read the
    // file with share mode 0, and it tries again.
    void Append(const std::string& bytes) {
        for (int i = 0; i < 10000 && !AppendToFile(FriendsFile(), bytes); ++i)
            std::this_thread::yield();
    }
    TFriendsPlatform platform;
};

TEST_F(FriendsWin32Test, TheNickComesFromTheZoneClientWindowsTitle) {
    EXPECT_EQ(platform.Window->FindClientWindow().Kind, TClientWindow::TKind::NoWindow);
    auto client = std::make_unique<TStandIn>(Lines{"client", "Zone - Hoster"});
    ASSERT_TRUE(client->Ready());
    TClientWindow w = platform.Window->FindClientWindow();
    EXPECT_EQ(w.Kind, TClientWindow::TKind::Found);
    EXPECT_EQ(w.Title, "Zone - Hoster");
    MakeSystem(true).SetActive(true);
    ASSERT_TRUE(ra->Active());
    EXPECT_EQ(ra->Nick(), "Hoster");
    // The client closes: the next nick check stops the assistant.
    client->Kill();
    ra->CheckNick();
    EXPECT_FALSE(ra->Active());
    EXPECT_EQ(diagnostics.Lines,
              (Lines{"KESTROVA: Could not find the ZoneFriends window\r\n",
                     "KESTROVA: ZoneFriends nick has changed, deactivating RapidAssign\r\n"}));

    // A title past 256 characters is read up to its 255th.
    std::string title = "Zone - \x80\x8A\x9F";
    while (title.size() < 300) title += "nick";
    client = std::make_unique<TStandIn>(Lines{"client", title});
    ASSERT_TRUE(client->Ready());
    EXPECT_EQ(platform.Window->FindClientWindow().Title, title.substr(0, 255));
}

// The setup key under HKEY_LOCAL_MACHINE, in the registry's 64-bit view or
// the 32-bit one a 32-bit client writes. Skipped where the key exists
// already (a real client) or cannot be written (no administrator).
class ZoneSetupKey {
  public:
    static constexpr wchar_t Path[] = L"Software\\Microsoft\\Internet Gaming Zone\\Setup";
    explicit ZoneSetupKey(REGSAM view) : view_(view) {
        HKEY probe = nullptr;
        existed_ = ::RegOpenKeyExW(HKEY_LOCAL_MACHINE, Path, 0, KEY_READ | view, &probe) ==
                   ERROR_SUCCESS;
        if (probe) ::RegCloseKey(probe);
        if (!existed_)
            made_ = ::RegCreateKeyExW(HKEY_LOCAL_MACHINE, Path, 0, nullptr, 0,
                                      KEY_WRITE | view, nullptr, &key_, nullptr) == ERROR_SUCCESS;
    }
    ~ZoneSetupKey() {
        if (key_) ::RegCloseKey(key_);
        if (made_) ::RegDeleteKeyExW(HKEY_LOCAL_MACHINE, Path, view_, 0);
    }
    bool Usable() const { return made_; }
    void Set(DWORD type, const std::wstring& text) {
        ::RegSetValueExW(key_, L"Path", 0, type, reinterpret_cast<const BYTE*>(text.c_str()),
                         static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
    }
    void SetNumber(DWORD v) {
        ::RegSetValueExW(key_, L"Path", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&v), sizeof v);
    }

  private:
    REGSAM view_;
    HKEY key_ = nullptr;
    bool existed_ = false, made_ = false;
};

TEST_F(FriendsWin32Test, TheFavouritesFolderIsTheSetupKeysPathWithFavorites) {
    EXPECT_EQ(platform.Favorites->RootPath(), "");  // no client installed
    for (REGSAM view : {KEY_WOW64_64KEY, KEY_WOW64_32KEY}) {
        SCOPED_TRACE(view == KEY_WOW64_64KEY ? "64-bit view" : "32-bit view");
        ZoneSetupKey key(view);
        if (!key.Usable()) GTEST_SKIP() << "the setup key exists or cannot be written";
        key.Set(REG_SZ, L"C:\\Program Files\\Zone \u20AC");
        EXPECT_EQ(platform.Favorites->RootPath(), "C:\\Program Files\\Zone \x80\\Favorites\\");
        key.Set(REG_SZ, L"D:\\Zone\\");
        EXPECT_EQ(platform.Favorites->RootPath(), "D:\\Zone\\Favorites\\");
        ::SetEnvironmentVariableW(L"KESTROVA_ZONE", L"E:\\Games");
        key.Set(REG_EXPAND_SZ, L"%KESTROVA_ZONE%\\Zone");
        EXPECT_EQ(platform.Favorites->RootPath(), "E:\\Games\\Zone\\Favorites\\");
        key.SetNumber(7);
        EXPECT_EQ(platform.Favorites->RootPath(), "");
    }
}

// Our reads and writes take the file for themselves alone: they fail while
// another program has it open, even one that shares it.
TEST_F(FriendsWin32Test, AFileAnotherProgramHasOpenIsNeitherReadNorWritten) {
    const std::string sharing = SystemErrorText(ERROR_SHARING_VIOLATION);
    for (const char* share : {"none", "all"}) {
        SCOPED_TRACE(share);
        WriteFriends("[Friends]\r\nAnna\r\n");
        TStandIn lobbyClient({"hold", FriendsFile(), share, "Bob\r\n"});
        ASSERT_TRUE(lobbyClient.Ready());
        std::string bytes, error;
        EXPECT_FALSE(platform.Files->ReadExclusive(FriendsFile(), bytes, error));
        EXPECT_EQ(error, sharing);
        error.clear();
        EXPECT_FALSE(platform.Files->WriteExclusive(FriendsFile(), "[Friends]\r\n", error));
        EXPECT_EQ(error, sharing);
        ASSERT_TRUE(lobbyClient.Release());
        EXPECT_TRUE(platform.Files->ReadExclusive(FriendsFile(), bytes, error));
        EXPECT_EQ(bytes, "[Friends]\r\nAnna\r\nBob\r\n");
        EXPECT_TRUE(platform.Files->WriteExclusive(FriendsFile(), "[Friends]\r\n", error));
        EXPECT_EQ(ReadFriends(), "[Friends]\r\n");
    }
}

// The client keeps its list open past the eight tries: the reload fails with
// the system's words, a removal is not written, and once it lets go the
// name it wrote meanwhile is signed up.
TEST_F(FriendsWin32Test, AListHeldLongerThanTheEightTriesIsReadOnceItIsFree) {
    WriteFriends("[Friends]\r\nOwn\r\nAnna\r\n");
    Make(true);  // the system's files, the pauses counted
    world.Dialogs.AnswerNo();
    control->NewTourney(1);
    ASSERT_TRUE(ra->Active());
    TStandIn lobbyClient({"hold", FriendsFile(), "none", "Zed\r\n"});
    ASSERT_TRUE(lobbyClient.Ready());
    files.Pauses.clear();
    files.Reads = 0;
    ra->Reload();
    EXPECT_EQ(files.Reads, TRapidAssign::OpenAttempts);
    EXPECT_EQ(files.Pauses, std::vector<int>(8, 10));
    EXPECT_EQ(world.Dialogs.Messages,
              Lines{"Error reading ZoneFriends list: \r\n\r\n" +
                    SystemErrorText(ERROR_SHARING_VIOLATION)});
    ra->RemoveFriend("Anna");
    EXPECT_EQ(diagnostics.Lines, (Lines{"KESTROVA: Could not open Friends.txt\r\n",
                                        "KESTROVA: Could open Friends.txt to write to\r\n"}));
    EXPECT_TRUE(Names().empty());
    ASSERT_TRUE(lobbyClient.Release());
    EXPECT_EQ(ReadFriends(), "[Friends]\r\nOwn\r\nAnna\r\nZed\r\n");
    // The removal was never written, so the name is back as well.
    ra->Reload();
    EXPECT_EQ(Names(), (Lines{"Anna", "Zed"}));
    ra->SetActive(false);
    EXPECT_EQ(ReadFriends(), "[Friends]\r\nOwn\r\nAnna\r\n");
}

TEST_F(FriendsWin32Test, NamesTheLobbyWritesAreSignedUpInOrderOnce) {
    WriteFriends("[Friends]\r\nOwn\r\n");
    MakeSystem();
    world.Dialogs.AnswerNo();
    control->NewTourney(1);
    ASSERT_TRUE(ra->Active());
    Lines expected;
    for (int i = 0; i < 10; ++i) {
        const std::string name = "Guest" + std::to_string(i);
        expected.push_back(name);
        Append(name + "\r\n");
        ASSERT_TRUE(PumpUntil([&] { return Names().size() == expected.size(); })) << name;
    }
    // A burst from another thread: every name once, in file order.
    std::thread lobby([&] {
        for (int i = 0; i < 20; ++i) Append("B" + std::to_string(i) + "\r\n");
    });
    lobby.join();
    for (int i = 0; i < 20; ++i) expected.push_back("B" + std::to_string(i));
    ASSERT_TRUE(PumpUntil([&] { return Names().size() == expected.size(); }));
    EXPECT_EQ(Names(), expected);
    ra->SetActive(false);
    EXPECT_EQ(ReadFriends(), "[Friends]\r\nOwn\r\n");
}

TEST_F(FriendsWin32Test, TheFolderDeletedWhileWatchedEndsNothingBadly) {
    MakeSystem();
    control->NewTourney(1);
    ASSERT_TRUE(ra->Active());
    ASSERT_TRUE(::DeleteFileW(WideOf(FriendsFile()).c_str()));
    ASSERT_TRUE(::DeleteFileW(WideOf(BackupFile()).c_str()));
    ASSERT_TRUE(::RemoveDirectoryW(WideOf(Nick()).c_str()));
    // The file is gone: one reload, which cannot read it.
    ASSERT_TRUE(PumpUntil([&] { return !world.Dialogs.Messages.empty(); }));
    EXPECT_EQ(world.Dialogs.Messages[0].rfind("Error reading ZoneFriends list: ", 0), 0u);
    ra->SetActive(false);  // the watcher ends at once, though its folder is gone
    EXPECT_FALSE(ra->Active());
    EXPECT_TRUE(s.Players.empty());
}

TEST_F(FriendsWin32Test, AStopRequestWinsOverAPendingChange) {
    std::string error;
    std::unique_ptr<IChangeNotice> notice = platform.Watcher->Watch(Nick(), error);
    ASSERT_TRUE(notice) << error;
    Append("Anna\r\n");
    notice->Wake();
    EXPECT_FALSE(notice->Wait());  // the stop comes first
    EXPECT_TRUE(notice->Wait());   // the change is still there
    notice->Wake();
    EXPECT_FALSE(notice->Wait());

    // The thread: only Friends.txt's own changes count, and stopping right
    // after a write ends it.
    std::mutex m;
    std::condition_variable cv;
    int notices = 0;
    auto monitor = std::make_unique<TFileMonitorThread>(
        FriendsFile(), *platform.Files, platform.Watcher->Watch(Nick(), error),
        platform.Files->LastWriteTime(FriendsFile()), [&] {
            std::lock_guard<std::mutex> lock(m);
            ++notices;
            cv.notify_all();
        });
    WriteFileBytes(Nick() + "Other.txt", "x");
    Append("Bob\r\n");
    {
        std::unique_lock<std::mutex> lock(m);
        cv.wait_for(lock, std::chrono::milliseconds(StandInBoundMs), [&] { return notices > 0; });
        EXPECT_EQ(notices, 1);
    }
    Append("Carl\r\n");
    monitor.reset();
    EXPECT_LE(notices, 2);
    EXPECT_EQ(platform.Watcher->Watch(dir.Path() + "missing", error), nullptr);
    EXPECT_TRUE(error == SystemErrorText(ERROR_FILE_NOT_FOUND) ||
                error == SystemErrorText(ERROR_PATH_NOT_FOUND))
        << error;
}

}  // namespace
}  // namespace kestrova::testing
