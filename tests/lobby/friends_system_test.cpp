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
    void Step(const std::string& key, const std::string& v) { RunStep(actions, checks, key, v); }

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
    void Start(const std::string& list) {
        WriteFriends(list);
        control.reset();
        Make(true, platform.Watcher.get());  // the system's files under the counting ones
        world.Dialogs.AnswerNo();
        control->NewTourney(1);
        EXPECT_TRUE(ra->Active());
    }
    void FolderGoes(const std::string& how) {
        if (how == "deleted") fs::remove_all(Nick());
        ASSERT_TRUE(PumpUntil([&] { return !world.Dialogs.Messages.empty(); }));
    }
    std::string Read() {
        std::string bytes, error;
        const bool ok = platform.Files->ReadExclusive(FriendsFile(), bytes, error);
        return ok ? bytes : "refused: " + Shown(error);
    }
    std::string Write(const std::string& v) {
        std::string error;
        const bool ok = platform.Files->WriteExclusive(FriendsFile(), Arrow(v).first, error);
        return Arrow(v).first + " -> " + (ok ? "ok" : "refused: " + Shown(error));
    }
    void WriteANewFile() {
        std::string error;
        EXPECT_FALSE(platform.Files->WriteExclusive(dir.File("new.txt"), "x", error));
        EXPECT_FALSE(fs::exists(dir.File("new.txt")));
    }
    void WatchAMissingFolder() {
        std::string error;
        EXPECT_EQ(platform.Watcher->Watch(dir.File("missing"), error), nullptr);
        EXPECT_FALSE(error.empty());
    }
    void MakeNotice() {
        std::string error;
        notice = platform.Watcher->Watch(Nick(), error);
        ASSERT_TRUE(notice) << error;
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

    const std::map<std::string, TAction> actions = {
        {"start", [this](const std::string& v) { Start(v); }},
        {"friends", [this](const std::string& v) { WriteFriends(v); }},
        {"lobby appends", [this](const std::string& v) { LobbyAppends(Split(v), false); }},
        {"lobby appends at once", [this](const std::string& v) { LobbyAppends(Split(v), true); }},
        {"folder goes", [this](const std::string& v) { FolderGoes(v); }},
        {"hold",
         [this](const std::string& v) {
             held = std::make_unique<THeld>(FriendsFile(), Arrow(v).first, Arrow(v).second);
         }},
        {"release", [this](const std::string&) { held->Release(); }},
        {"reload", [this](const std::string&) { ra->Reload(); }},
        {"remove friend", [this](const std::string& v) { ra->RemoveFriend(v); }},
        {"stop", [this](const std::string&) { ra->SetActive(false); }},  // the watcher wakes
        {"notice", [this](const std::string&) { MakeNotice(); }},
        {"append", [this](const std::string& v) { Append(v); }},
        {"wake", [this](const std::string&) { notice->Wake(); }},
        {"monitor", [this](const std::string&) { StartMonitor(); }},
        {"write other file", [this](const std::string& v) { WriteFileBytes(Nick() + v, "x"); }},
        {"end monitor", [this](const std::string&) { monitor.reset(); }},
        {"write a new file", [this](const std::string&) { WriteANewFile(); }},
        {"watch a missing folder", [this](const std::string&) { WatchAMissingFolder(); }},
    };
    const std::map<std::string, TCheck> checks = {
        {"wait", [this](const std::string&) { return notice->Wait() ? "change" : "stop"; }},
        {"notices", [this](const std::string&) { return Notices(); }},
        {"notices at most",
         [this](const std::string& v) { return notices <= std::stoi(v) ? v : Notices(); }},
        {"read", [this](const std::string&) { return Read(); }},
        {"write", [this](const std::string& v) { return Write(v); }},
        {"names", [this](const std::string&) { return Joined(Names()); }},
        {"times in the log",
         [this](const std::string& v) {
             return Arrow(v).first + " -> " + std::to_string(TimesInLog(Arrow(v).first));
         }},
        {"file", [this](const std::string&) { return ReadFriends(); }},
        {"active", [this](const std::string&) { return YesNo(ra->Active()); }},
        {"pauses",
         [this](const std::string&) {
             return std::to_string(std::exchange(files.Pauses, {}).size());
         }},
        {"messages",
         [this](const std::string&) { return Shown(since("messages", world.Dialogs.Messages)); }},
        {"message begins",
         [this](const std::string& v) {
             const std::string text = since("messages", world.Dialogs.Messages);
             return text.starts_with(v) ? v : text;
         }},
        {"diagnostics",
         [this](const std::string&) { return since("diagnostics", diagnostics.Lines); }},
    };
};

TEST(FriendsSystem, EachScriptPlaysAsWritten) {
    PlayScripts<FriendsSystemScript>("lobby/friends_system.txt");
}

}  // namespace
}  // namespace kestrova::testing
