#pragma once
// Scripted platform pieces of the friends-list assistant: a nick and a
// folder chosen by the test, the real files with faults injected, and a
// user-interface loop whose notices a test waits for (with a bound) and
// whose 2-second timer runs on the fake clock.
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "fakes/fake_ports.h"
#include "lobby/friends_ports.h"

namespace kestrova::testing {

class FakeFavorites : public IZoneFavorites {
  public:
    std::string Root;
    std::string RootPath() override { return Root; }
};

class FakeZoneWindow : public IZoneClientWindow {
  public:
    TClientWindow Window{TClientWindow::TKind::CannotList, {}};
    void SetTitle(const std::string& t) { Window = {TClientWindow::TKind::Found, t}; }
    TClientWindow FindClientWindow() override { return Window; }
};

// The system's files, with the pauses counted instead of slept and reads,
// writes and copies made to fail on request.
class FaultyFiles : public IFriendsFiles {
  public:
    FaultyFiles();
    int FailReads = 0;  // the next reads fail as if the file were locked
    bool FailWrites = false;
    bool FailCopies = false;
    std::vector<int> Pauses;
    int Reads = 0;

    bool ReadExclusive(const std::string& path, std::string& bytes, std::string& error) override;
    bool WriteExclusive(const std::string& path, const std::string& bytes,
                        std::string& error) override;
    bool Copy(const std::string& from, const std::string& to, bool failIfExists) override;
    bool Delete(const std::string& path) override { return real_->Delete(path); }
    bool FileExists(const std::string& path) override { return real_->FileExists(path); }
    std::vector<std::string> SubFolders(const std::string& folder) override {
        return real_->SubFolders(folder);
    }
    std::optional<int64_t> LastWriteTime(const std::string& path) override {
        return real_->LastWriteTime(path);
    }
    void Pause(int milliseconds) override { Pauses.push_back(milliseconds); }

  private:
    std::unique_ptr<IFriendsFiles> real_;
};

class RecordingDiagnostics : public IDiagnostics {
  public:
    std::vector<std::string> Lines;
    void Output(const std::string& line) override { Lines.push_back(line); }
};

// Posted calls wait in a queue until the test runs them; the timer fires
// when the fake clock has moved on by its interval.
class FakeLoop : public IRapidAssignLoop {
  public:
    explicit FakeLoop(FakeClock& clock) : clock_(clock) {}
    void Post(std::function<void()> call) override;
    void StartTimer(int milliseconds, std::function<void()> tick) override;
    void StopTimer() override { tick_ = nullptr; }
    bool TimerRunning() const { return static_cast<bool>(tick_); }

    // Waits at most `timeoutMs` for a posted call; true when one is queued.
    bool WaitForPost(int timeoutMs);
    // Runs the queued calls; returns how many ran.
    int RunPosted();
    // Moves the clock on and fires the timer for every interval passed.
    void AdvanceMs(int milliseconds);
    int Posted() const;

  private:
    FakeClock& clock_;
    mutable std::mutex m_;
    std::condition_variable cv_;
    std::deque<std::function<void()>> queue_;
    std::function<void()> tick_;
    int interval_ = 0;
    int sinceTick_ = 0;
};

}  // namespace kestrova::testing
