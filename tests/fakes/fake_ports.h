#pragma once
// Scripted fakes of the core's ports: they record what was asked and answer
// as the test scripted (default: "Yes", box unticked).
#include <deque>
#include <map>
#include <utility>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "common/datetime.h"
#include "fakes/fake_lobby_windows.h"
#include "model/tourney_state.h"

namespace kestrova::testing {

class FakeDialogs : public IDialogs {
public:
    std::vector<std::string> Asked;     // every ConfirmDlg / YesNo text
    std::vector<std::string> Notices;   // every NotifyDlg text
    std::vector<std::string> Messages;  // every MessageBox text
    std::deque<TConfirmAnswer> ConfirmAnswers;
    std::deque<bool> YesNoAnswers;
    std::deque<std::optional<std::string>> Inputs;
    std::deque<std::optional<std::string>> Folders;
    bool TickNotices = false;

    TConfirmAnswer ConfirmDlg(const std::string& text) override;
    bool NotifyDlg(const std::string& text) override;
    void MessageBox(TMessageBoxKind kind, const std::string& text) override;
    bool YesNo(const std::string& text) override;
    std::optional<std::string> InputBox(const std::string& caption, const std::string& prompt,
                                        const std::string& initial) override;
    std::optional<std::string> ChooseFolder(const std::string& text,
                                            const std::string& start) override;
    void AnswerNo() { ConfirmAnswers.push_back({false, false}); }
    void AnswerYes(bool dontAsk = false) { ConfirmAnswers.push_back({true, dontAsk}); }
};

class FakeClock : public IClock {
public:
    TDateTime Time = EncodeDateTime(2026, 12, 5, 20, 0, 0);
    TDateTime Now() override { return Time; }
    void AdvanceSeconds(double s) { Time += s / SecondsPerDay; }
};

class FakeView : public IView {
public:
    std::vector<std::string> Calls;
    std::string CountLabel;
    std::string FindStatus;
    std::string FindBox;
    bool UndoEnabled = false, RedoEnabled = false;
    void RedrawRound(TBracketKind b, int r) override;
    void RedrawAll() override { Calls.push_back("redraw all"); }
    void TabsChanged() override { Calls.push_back("tabs"); }
    void SelectRound(TBracketKind b, int r) override;
    void ScrollToTable(TBracketKind b, int r, int t) override;
    void CountLabelChanged(const std::string& text) override { CountLabel = text; }
    void UndoRedoChanged(bool u, bool r) override {
        UndoEnabled = u;
        RedoEnabled = r;
    }
    void FindStatusChanged(const std::string& text) override { FindStatus = text; }
    void FindTextChanged(const std::string& text) override { FindBox = text; }
    void SignupStateChanged() override { Calls.push_back("signup-state"); }
    void OnePerTableChanged(bool c) override { Calls.push_back(c ? "one-per-table on" : "one-per-table off"); }
    std::vector<std::string> Statuses;  // every status-bar note
    void StatusMessage(const std::string& text) override { Statuses.push_back(text); }
    bool Called(const std::string& what) const;
};

class FakeLobby : public ILobbyPort {
public:
    std::vector<std::string> Clipboard;  // every text put on the clipboard
    std::vector<int> Waits;              // every wait, in milliseconds
    bool ClipboardBusy = false;
    // Runs inside each wait: what the event loop would serve meanwhile.
    std::function<void(int)> DuringWait;
    // A wait moves this clock on (so a test sees the pauses in the times).
    FakeClock* Clock = nullptr;
    bool SetClipboard(const std::string& text) override;
    void Wait(int milliseconds) override;
    std::string Latest() const { return Clipboard.empty() ? std::string() : Clipboard.back(); }
};

// The settings key in memory: (subkey, name) -> value, names without regard
// to case. Saves counts commits; the flags make reads or commits fail.
class FakeSettingsStore : public ISettingsStore {
public:
    int Saves = 0;
    bool KeyExists = false;
    bool FailReads = false, FailCommits = false;
    std::map<std::pair<std::string, std::string>, TStoredValue> Values;

    bool Exists() override { return KeyExists; }
    TStoredValue Read(const std::string& subkey, const std::string& name) override;
    void Write(const std::string& subkey, const std::string& name, const TStoredValue& v) override;
    void ClearSubkey(const std::string& subkey) override;
    void Commit() override;
    void Put(const std::string& name, int32_t v) { Write("", name, TStoredValue::Integer(v)); }
    void Put(const std::string& name, const std::string& v) { Write("", name, TStoredValue::String(v)); }
    void Put(const std::string& name, const char* v) { Put(name, std::string(v)); }
    TStoredValue Get(const std::string& name, const std::string& subkey = "") const;
};

// A time-zone store of records given by the test.
class FakeTimeZoneStore : public ITimeZoneStore {
public:
    std::vector<TTimeZoneRecord> Records;
    TLocalZoneInfo Local;
    bool Fail = false;  // every read throws, as a registry error would
    std::vector<std::string> KeyNames() override;
    std::optional<TTimeZoneRecord> Find(const std::string& keyName) override;
    TLocalZoneInfo LocalZone() override { return Local; }
};

// The file-type registration: registered or not, and whether registering works.
class FakeFileTypes : public IFileTypes {
public:
    bool IsRegistered = false;
    bool Works = true;
    int Registrations = 0;
    bool Registered() override { return IsRegistered; }
    bool Register() override {
        ++Registrations;
        IsRegistered = Works;
        return Works;
    }
};

// Records the kind and the message parameters of every announcement.
class RecordingAnnouncer : public IAnnouncer {
public:
    struct Posting {
        TMessageKind Kind;
        TMsgParams Params;
        bool Automatic;
    };
    std::vector<Posting> Postings;
    void Post(TTourneyState& s, TMessageKind kind, bool automatic) override {
        Postings.push_back({kind, s.MsgParams, automatic});
    }
};

// A state wired to a full set of fakes, writing its log into a temp folder.
struct FakeWorld {
    FakeDialogs Dialogs;
    FakeClock Clock;
    FakeView View;
    FakeLobby Lobby;
    FakeWindowTree Windows;
    FakeSettingsStore Settings;
    void Wire(TTourneyState& s, IAnnouncer* announcer = nullptr);
    // Opens a newer room and makes its chat input the chosen one.
    TWindowHandle AttachRoom(TTourneyState& s, const std::string& title = "Room");
};

// A fresh temporary folder (ending in '/') removed by the destructor.
class TempDir {
public:
    TempDir();
    ~TempDir();
    const std::string& Path() const { return path_; }
    std::string File(const std::string& name) const { return path_ + name; }

private:
    std::string path_;
};

std::string ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const std::string& bytes);

}  // namespace kestrova::testing
