#pragma once
// A lobby client's favourites folder in a temporary folder with one nick,
// "Hoster", and an assistant wired to scripted ports and a fake state.
#include <gtest/gtest.h>

#include <condition_variable>
#include <filesystem>
#include <memory>
#include <mutex>

#include "fakes/fake_friends.h"
#include "fakes/fake_ports.h"
#include "lobby/rapid_assign.h"
#include "lobby/rapid_assign_control.h"

namespace kestrova::testing {

class FriendsFixture : public ::testing::Test {
  public:
    void SetUp() override {
        world.Wire(s, &announcer);
        s.TourneyPath = dir.File("t.kvb");
        s.Settings.FilesFolder = dir.Path();
        favorites.Root = dir.Path() + "Favorites/";
        std::filesystem::create_directories(favorites.Root + "Hoster");
        window.SetTitle("Zone - Hoster");
        WriteFriends("[Friends]\r\n");
    }
    void TearDown() override {
        control.reset();
        ra.reset();
    }
    // Builds the assistant (and the window's side when asked) over the fakes.
    TRapidAssign& Make(bool withControl = true, IFolderWatcher* watcher = nullptr) {
        ra = std::make_unique<TRapidAssign>(TRapidAssignPorts{&favorites, &window, &files,
                                                              watcher ? watcher : &noWatch,
                                                              &diagnostics, &loop, &world.Dialogs});
        if (withControl) control = std::make_unique<TRapidAssignControl>(s, *ra);
        return *ra;
    }
    std::string Nick(const std::string& nick = "Hoster") { return favorites.Root + nick + "/"; }
    std::string FriendsFile(const std::string& nick = "Hoster") {
        return Nick(nick) + "Friends.txt";
    }
    std::string BackupFile(const std::string& nick = "Hoster") {
        return Nick(nick) + "Friends.bak";
    }
    void WriteFriends(const std::string& text, const std::string& nick = "Hoster") {
        WriteFileBytes(FriendsFile(nick), text);
    }
    std::string ReadFriends(const std::string& nick = "Hoster") {
        return ReadFileBytes(FriendsFile(nick));
    }
    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        for (const auto& p : s.Players)
            names.push_back(p->Name);
        return names;
    }
    std::string Log() { return ReadFileBytes(dir.File("t.log")); }

    // A watcher that never reports a change: the tests call Reload themselves.
    // (A mutex and a condition variable: GCC 12's std::atomic wait can miss a
    // wake-up where it has no futex, as under mingw-w64, and the join hangs.)
    class TQuietNotice : public IChangeNotice {
      public:
        bool Wait() override {
            std::unique_lock lock(mutex_);
            woke_.wait(lock, [this] { return woken_; });
            woken_ = false;
            return false;
        }
        void Wake() override {
            {
                std::lock_guard lock(mutex_);
                woken_ = true;
            }
            woke_.notify_all();
        }

      private:
        std::mutex mutex_;
        std::condition_variable woke_;
        bool woken_ = false;
    };
    class TNoWatch : public IFolderWatcher {
      public:
        std::unique_ptr<IChangeNotice> Watch(const std::string&, std::string&) override {
            return std::make_unique<TQuietNotice>();
        }
    };

    TempDir dir;
    FakeWorld world;
    RecordingAnnouncer announcer;
    TTourneyState s;
    FakeFavorites favorites;
    FakeZoneWindow window;
    FaultyFiles files;
    TNoWatch noWatch;
    RecordingDiagnostics diagnostics;
    FakeLoop loop{world.Clock};
    std::unique_ptr<TRapidAssign> ra;
    std::unique_ptr<TRapidAssignControl> control;
};

}  // namespace kestrova::testing
