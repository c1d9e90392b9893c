// The friends-list assistant over the system's own files and watcher, on a
// real folder: tests/data/lobby/friends_system.txt, played alike on each
// platform. Another program (a thread of the test, or the Win32 stand-in
// client) writes "Friends.txt" or holds it while the test's main thread
// plays the user-interface loop, waiting with a bound for each notice.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "common/file_util.h"
#include "fakes/case_file.h"
#include "lobby/friends_fixture.h"
#include "lobby/friends_monitor.h"
#include "lobby/script_steps.h"
#ifdef _WIN32
#include "common/wide_text.h"
#include "win32/stand_in.h"
#else
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cstring>
#endif

namespace kestrova::testing {
namespace {

namespace fs = std::filesystem;
constexpr int kBoundMs = 15000;  // per notice: far above any real latency

// "Friends.txt" held open by another program until Release, which appends
// `text` first, as the lobby client writes its list.
#ifdef _WIN32
const std::string kInUse = SystemErrorText(ERROR_SHARING_VIOLATION);
class THeld {
  public:
    THeld(const std::string& path, const std::string& share, const std::string& text)
        : client_({"hold", path, share, text}) {
        EXPECT_TRUE(client_.Ready());
    }
    void Release() { EXPECT_TRUE(client_.Release()); }

  private:
    TStandIn client_;
};
#else
const std::string kInUse =
    std::string("The file is in use by another program (") + std::strerror(EWOULDBLOCK) + ").";
class THeld {  // flock() is the lock every careful program asks for
  public:
    THeld(const std::string& path, const std::string&, const std::string& text)
        : fd_(::open(path.c_str(), O_WRONLY | O_APPEND)), text_(text) {
        EXPECT_EQ(::flock(fd_, LOCK_EX), 0);
    }
    void Release() {
        EXPECT_EQ(::write(fd_, text_.data(), text_.size()), static_cast<ssize_t>(text_.size()));
        ::close(fd_);
    }

  private:
    int fd_;
    std::string text_;
};
#endif

class FriendsSystemScript : public FriendsFixture {
  public:
    void TestBody() override {}  // played by hand, one per script
    void SetUp() override {
        FriendsFixture::SetUp();
        platform = MakeDefaultFriendsPlatform(nullptr);
    }
    void TearDown() override {
        monitor.reset();
        FriendsFixture::TearDown();
    }
    void Step(const std::string& key, const std::string& v);

  private:
    // Runs posted notices until `done` holds; false when none came in time.
    bool PumpUntil(const std::function<bool()>& done) {
        const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(kBoundMs);
        while (!done()) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                end - std::chrono::steady_clock::now());
            if (left.count() <= 0 || !loop.WaitForPost(static_cast<int>(left.count())))
                return false;
            loop.RunPosted();
        }
        return true;
    }
    // As the lobby client appends: while the program reads the file for
    // itself alone the open fails (Win32), and it tries again.
    void Append(const std::string& bytes) {
        for (int i = 0; i < 100000 && !AppendToFile(FriendsFile(), bytes); ++i)
            std::this_thread::yield();
    }
    void LobbyAppends(const std::vector<std::string>& names, bool atOnce) {
        const size_t before = s.Players.size();
        if (atOnce) {
            std::thread lobby([&] {
                for (const std::string& name : names)
                    Append(name + "\r\n");
            });
            lobby.join();
        }
        for (size_t i = 0; i < names.size(); ++i) {
            if (!atOnce) Append(names[i] + "\r\n");
            ASSERT_TRUE(PumpUntil([&] { return s.Players.size() > before + i; })) << names[i];
        }
        while (loop.WaitForPost(50))
            loop.RunPosted();  // late notices change nothing
    }
    void StartMonitor() {
        std::string error;
        monitor = std::make_unique<TFileMonitorThread>(
            FriendsFile(), *platform.Files, platform.Watcher->Watch(Nick(), error),
            platform.Files->LastWriteTime(FriendsFile()), [this] {
                std::lock_guard<std::mutex> lock(m);
                ++notices;
                cv.notify_all();
            });
    }
    std::string Notices() {
        std::unique_lock<std::mutex> lock(m);
        cv.wait_for(lock, std::chrono::milliseconds(kBoundMs), [&] { return notices > 0; });
        return std::to_string(notices);
    }
    std::string Shown(std::string text) {  // the system's words for a held file as "IN USE"
        if (size_t at = text.find(kInUse); at != std::string::npos)
            text.replace(at, kInUse.size(), "IN USE");
        return text;
    }
    size_t TimesInLog(const std::string& what) {
        size_t n = 0;
        const std::string log = Log();
        for (size_t at = log.find(what); at != std::string::npos; at = log.find(what, at + 1))
            ++n;
        return n;
    }

    TFriendsPlatform platform;
    std::unique_ptr<THeld> held;
    std::unique_ptr<IChangeNotice> notice;
    std::unique_ptr<TFileMonitorThread> monitor;
    std::mutex m;
    std::condition_variable cv;
    int notices = 0;
    TSinceLast since;
};

void FriendsSystemScript::Step(const std::string& key, const std::string& v) {
    std::string bytes, error;
    if (key == "start") {
        WriteFriends(v);
        control.reset();
        Make(true, platform.Watcher.get());  // the system's files under the counting ones
        world.Dialogs.AnswerNo();
        control->NewTourney(1);
        EXPECT_TRUE(ra->Active());
    } else if (key == "friends") {
        WriteFriends(v);
    } else if (key == "lobby appends") {
        LobbyAppends(Split(v), false);
    } else if (key == "lobby appends at once") {
        LobbyAppends(Split(v), true);
    } else if (key == "folder goes") {
        if (v == "renamed") fs::rename(Nick(), dir.File("Moved"));
        if (v == "deleted") fs::remove_all(Nick());
        ASSERT_TRUE(PumpUntil([&] { return !world.Dialogs.Messages.empty(); }));
    } else if (key == "hold") {
        held = std::make_unique<THeld>(FriendsFile(), Arrow(v).first, Arrow(v).second);
    } else if (key == "release") {
        held->Release();
    } else if (key == "reload") {
        ra->Reload();
    } else if (key == "remove friend") {
        ra->RemoveFriend(v);
    } else if (key == "stop") {
        ra->SetActive(false);  // the watcher wakes at once
    } else if (key == "notice") {
        notice = platform.Watcher->Watch(Nick(), error);
        ASSERT_TRUE(notice) << error;
    } else if (key == "append") {
        Append(v);
    } else if (key == "wake") {
        notice->Wake();
    } else if (key == "monitor") {
        StartMonitor();
    } else if (key == "write other file") {
        WriteFileBytes(Nick() + v, "x");
    } else if (key == "end monitor") {
        monitor.reset();
    }
    // Checks.
    else if (key == "wait") {
        EXPECT_EQ(notice->Wait() ? "change" : "stop", v);
    } else if (key == "notices") {
        EXPECT_EQ(Notices(), v);
    } else if (key == "notices at most") {
        EXPECT_LE(notices, std::stoi(v));
    } else if (key == "read") {
        const bool ok = platform.Files->ReadExclusive(FriendsFile(), bytes, error);
        EXPECT_EQ(ok ? bytes : "refused: " + Shown(error), v);
    } else if (key == "write") {
        const bool ok = platform.Files->WriteExclusive(FriendsFile(), Arrow(v).first, error);
        EXPECT_EQ(ok ? "ok" : "refused: " + Shown(error), Arrow(v).second);
    } else if (key == "write a new file") {
        EXPECT_FALSE(platform.Files->WriteExclusive(dir.File("new.txt"), "x", error));
        EXPECT_FALSE(fs::exists(dir.File("new.txt")));
    } else if (key == "watch a missing folder") {
        EXPECT_EQ(platform.Watcher->Watch(dir.File("missing"), error), nullptr);
        EXPECT_FALSE(error.empty());
    } else if (key == "names") {
        EXPECT_EQ(Joined(Names()), v);
    } else if (key == "times in the log") {
        EXPECT_EQ(std::to_string(TimesInLog(Arrow(v).first)), Arrow(v).second);
    } else if (key == "file") {
        EXPECT_EQ(ReadFriends(), v);
    } else if (key == "active") {
        EXPECT_EQ(ra->Active() ? "yes" : "no", v);
    } else if (key == "pauses") {
        EXPECT_EQ(files.Pauses.size(), std::stoul(v));
        files.Pauses.clear();
    } else if (key == "messages") {
        EXPECT_EQ(Shown(since(key, world.Dialogs.Messages)), v);
    } else if (key == "message begins") {
        EXPECT_EQ(since("messages", world.Dialogs.Messages).rfind(v, 0), 0u);
    } else if (key == "diagnostics") {
        EXPECT_EQ(since(key, diagnostics.Lines), v);
    } else {
        ADD_FAILURE() << "unknown step " << key;
    }
}

TEST(FriendsSystem, EachScriptPlaysAsWritten) {
    PlayScripts<FriendsSystemScript>("lobby/friends_system.txt");
}

}  // namespace
}  // namespace kestrova::testing
