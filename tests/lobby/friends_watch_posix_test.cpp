// The real watcher thread on a real folder (inotify): a thread standing in
// for the lobby client writes "Friends.txt" while the test's main thread
// plays the user-interface loop, waiting (with a bound) for each notice.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <thread>

#include "lobby/friends_fixture.h"
#include "lobby/friends_monitor.h"

namespace kestrova::testing {
namespace {

using Clock = std::chrono::steady_clock;
constexpr int kBoundMs = 5000;  // per name: far above any real latency

void Append(const std::string& path, const std::string& bytes) {
    int fd = ::open(path.c_str(), O_WRONLY | O_APPEND);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::write(fd, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    ::close(fd);
}

class FriendsWatchTest : public FriendsFixture {
  public:
    void SetUp() override {
        FriendsFixture::SetUp();
        platform = MakeDefaultFriendsPlatform(nullptr);
        Make(true, platform.Watcher.get());
    }
    // Runs posted notices until `done` holds; false when a notice took too long.
    bool PumpUntil(const std::function<bool()>& done, int boundMs = kBoundMs) {
        const auto end = Clock::now() + std::chrono::milliseconds(boundMs);
        while (!done()) {
            int left = static_cast<int>(
                std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now()).count());
            if (left <= 0 || !loop.WaitForPost(left)) return false;
            loop.RunPosted();
        }
        return true;
    }
    TFriendsPlatform platform;
};

// With the system's files, so the 10 ms pause before each read counts too.
TEST_F(FriendsWatchTest, NamesWrittenByTheLobbyAreSignedUpInOrderOnce) {
    control.reset();
    Make(true, platform.Watcher.get(), platform.Files.get());
    WriteFriends("[Friends]\r\nOwn\r\n");
    world.Dialogs.AnswerNo();
    control->NewTourney(1);
    ASSERT_TRUE(ra->Active());
    constexpr int kNames = 20;
    std::mutex m;
    std::condition_variable cv;
    int signedUp = 0;
    std::vector<Clock::time_point> written(kNames), seen(kNames);
    ra->OnPlayerAdded = [&, inner = ra->OnPlayerAdded](const std::string& n) {
        inner(n);
        std::lock_guard<std::mutex> lock(m);
        seen[signedUp++] = Clock::now();
        cv.notify_all();
    };
    std::thread lobby([&] {
        for (int i = 0; i < kNames; ++i) {
            written[i] = Clock::now();
            Append(FriendsFile(), "Guest" + std::to_string(i) + "\r\n");
            // The next name once this one is in (or the bound has passed).
            std::unique_lock<std::mutex> lock(m);
            cv.wait_for(lock, std::chrono::milliseconds(kBoundMs), [&] { return signedUp > i; });
        }
    });
    bool ok = PumpUntil(
        [&] {
            std::lock_guard<std::mutex> lock(m);
            return signedUp == kNames;
        },
        kBoundMs * kNames);
    lobby.join();
    ASSERT_TRUE(ok) << signedUp << " of " << kNames;
    std::vector<std::string> expected;
    for (int i = 0; i < kNames; ++i)
        expected.push_back("Guest" + std::to_string(i));
    EXPECT_EQ(Names(), expected);

    std::vector<double> ms;
    for (int i = 0; i < kNames; ++i)
        ms.push_back(std::chrono::duration<double, std::milli>(seen[i] - written[i]).count());
    std::sort(ms.begin(), ms.end());
    std::printf("[ latency ] write to sign-up over %d names: median %.2f ms, max %.2f ms\n", kNames,
                ms[kNames / 2], ms.back());

    ra->SetActive(false);
    EXPECT_EQ(ReadFriends(), "[Friends]\r\nOwn\r\n");
    EXPECT_FALSE(std::filesystem::exists(BackupFile()));
}

TEST_F(FriendsWatchTest, ABurstOfFiftyWritesSignsEveryNameOnce) {
    control->NewTourney(1);
    std::thread lobby([&] {
        for (int i = 0; i < 50; ++i)
            Append(FriendsFile(), "B" + std::to_string(i) + "\r\n");
    });
    lobby.join();
    ASSERT_TRUE(PumpUntil([&] { return s.Players.size() == 50; }));
    // Whatever notices are still queued change nothing.
    while (loop.WaitForPost(50))
        loop.RunPosted();
    ASSERT_EQ(s.Players.size(), 50u);
    for (int i = 0; i < 50; ++i)
        EXPECT_EQ(s.Players[i]->Name, "B" + std::to_string(i));
    // Each sign-up was one reload's event: none was raised twice.
    const std::string log = Log();
    size_t events = 0;
    for (size_t at = log.find("player added"); at != std::string::npos;
         at = log.find("player added", at + 1))
        ++events;
    EXPECT_EQ(events, 50u);
}

TEST_F(FriendsWatchTest, TheFolderGoingAwayEndsNothingBadly) {
    for (bool rename : {false, true}) {
        SCOPED_TRACE(rename);
        std::filesystem::create_directories(Nick());
        WriteFriends("[Friends]\r\n");
        world.Dialogs.Messages.clear();
        control->NewTourney(1);
        ASSERT_TRUE(ra->Active());
        if (rename)
            std::filesystem::rename(Nick(), dir.Path() + "Moved");
        else
            std::filesystem::remove_all(Nick());
        // The file's time changed (it is gone): one reload, which cannot read it.
        ASSERT_TRUE(PumpUntil([&] { return !world.Dialogs.Messages.empty(); }));
        EXPECT_EQ(world.Dialogs.Messages[0].rfind("Error reading ZoneFriends list: ", 0), 0u);
        EXPECT_TRUE(s.Players.empty());
        const auto before = Clock::now();
        ra->SetActive(false);  // the watcher wakes at once
        EXPECT_LT(Clock::now() - before, std::chrono::seconds(2));
        std::filesystem::remove_all(dir.Path() + "Moved");
    }
}

TEST_F(FriendsWatchTest, StoppingWakesTheWaitAtOnceAndOnlyChangesOfTheFileCount) {
    std::string error;
    auto notice = platform.Watcher->Watch(Nick(), error);
    ASSERT_TRUE(notice) << error;
    std::mutex m;
    std::condition_variable cv;
    int notices = 0;
    auto monitor =
        std::make_unique<TFileMonitorThread>(FriendsFile(), *platform.Files, std::move(notice),
                                             platform.Files->LastWriteTime(FriendsFile()), [&] {
                                                 std::lock_guard<std::mutex> lock(m);
                                                 ++notices;
                                                 cv.notify_all();
                                             });
    // Other files of the folder do not count: only a new time of Friends.txt.
    WriteFileBytes(Nick() + "Other.txt", "x");
    Append(FriendsFile(), "A\r\n");
    {
        std::unique_lock<std::mutex> lock(m);
        cv.wait_for(lock, std::chrono::milliseconds(kBoundMs), [&] { return notices > 0; });
        EXPECT_EQ(notices, 1);
    }
    EXPECT_EQ(monitor->FileName(), FriendsFile());
    const auto before = Clock::now();
    monitor.reset();
    EXPECT_LT(Clock::now() - before, std::chrono::seconds(2));
    EXPECT_EQ(platform.Watcher->Watch(dir.Path() + "missing", error), nullptr);
    EXPECT_FALSE(error.empty());
}

}  // namespace
}  // namespace kestrova::testing
