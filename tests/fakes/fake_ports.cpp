#include "fakes/fake_ports.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <stdexcept>

#include "common/file_util.h"
#include "common/text.h"

namespace kestrova::testing {

namespace {
// The next scripted answer, or `otherwise` when the script has run out.
template <class T>
T Next(std::deque<T>& answers, T otherwise) {
    if (answers.empty()) return otherwise;
    T a = answers.front();
    answers.pop_front();
    return a;
}

std::string Where(TBracketKind b, int r) {
    return std::to_string(static_cast<int>(b)) + " " + std::to_string(r);
}
}  // namespace

TConfirmAnswer FakeDialogs::ConfirmDlg(const std::string& text) {
    Asked.push_back(text);
    return Next(ConfirmAnswers, TConfirmAnswer{});
}

bool FakeDialogs::NotifyDlg(const std::string& text) {
    Notices.push_back(text);
    return TickNotices;
}

void FakeDialogs::MessageBox(TMessageBoxKind, const std::string& text) {
    Messages.push_back(text);
}

bool FakeDialogs::YesNo(const std::string& text) {
    Asked.push_back(text);
    return Next(YesNoAnswers, true);
}

std::optional<std::string> FakeDialogs::InputBox(const std::string& caption,
                                                 const std::string& prompt,
                                                 const std::string& initial) {
    Asked.push_back(caption + "|" + prompt + "|" + initial);
    return Next(Inputs, std::optional<std::string>());
}

std::optional<std::string> FakeDialogs::ChooseFolder(const std::string& text,
                                                     const std::string& start) {
    Asked.push_back(text + "|" + start);
    return Next(Folders, std::optional<std::string>());
}

void FakeView::RedrawRound(TBracketKind b, int r) {
    Calls.push_back("redraw " + Where(b, r));
}

void FakeView::SelectRound(TBracketKind b, int r) {
    Calls.push_back("select " + Where(b, r));
}

void FakeView::ScrollToTable(TBracketKind b, int r, int t) {
    Calls.push_back("scroll " + Where(b, r) + " " + std::to_string(t));
}

bool FakeView::Called(const std::string& what) const {
    return std::find(Calls.begin(), Calls.end(), what) != Calls.end();
}

bool FakeLobby::SetClipboard(const std::string& text) {
    if (ClipboardBusy) return false;
    Clipboard.push_back(text);
    return true;
}

void FakeLobby::Wait(int milliseconds) {
    Waits.push_back(milliseconds);
    if (Clock) Clock->AdvanceSeconds(milliseconds / 1000.0);
    if (DuringWait) DuringWait(milliseconds);
}

void FakeWorld::Wire(TTourneyState& s, IAnnouncer* announcer) {
    s.Ports.Dialogs = &Dialogs;
    s.Ports.Clock = &Clock;
    s.Ports.View = &View;
    s.Ports.Lobby = &Lobby;
    s.Ports.LobbyWindows = &Windows;
    Windows.Clipboard = [this] { return Lobby.Latest(); };
    s.Ports.Settings = &Settings;
    if (announcer) s.Ports.Announcer = announcer;
    s.SettingsLoaded = true;
}

TWindowHandle FakeWorld::AttachRoom(TTourneyState& s, const std::string& title) {
    const TWindowHandle room = Windows.AddNewRoom(title);
    s.LobbyName = title;
    s.FParentLobbyWnd = room;
    s.FLobbyEditWnd = Windows.InputOf(room);
    return s.FLobbyEditWnd;
}

TempDir::TempDir() {
    std::optional<std::string> made = MakeTempFolder("kestrova-");
    if (!made) throw std::runtime_error("cannot make a temporary folder");
    path_ = *made + PathSeparator;
}

TempDir::~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
}

std::string ReadFileBytes(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    std::ostringstream ss;
    ss << f.rdbuf();
    return ss.str();
}

void WriteFileBytes(const std::string& path, const std::string& bytes) {
    std::ofstream f(path, std::ios::binary | std::ios::trunc);
    f << bytes;
}

TStoredValue FakeSettingsStore::Read(const std::string& subkey, const std::string& name) {
    if (FailReads) throw std::runtime_error("the settings key cannot be read");
    return Get(name, subkey);
}

TStoredValue FakeSettingsStore::Get(const std::string& name, const std::string& subkey) const {
    auto it = Values.find({LowerCase(subkey), LowerCase(name)});
    return it == Values.end() ? TStoredValue{} : it->second;
}

void FakeSettingsStore::Write(const std::string& subkey, const std::string& name,
                              const TStoredValue& v) {
    KeyExists = true;
    Values[{LowerCase(subkey), LowerCase(name)}] = v;
}

void FakeSettingsStore::ClearSubkey(const std::string& subkey) {
    const std::string key = LowerCase(subkey);
    for (auto it = Values.begin(); it != Values.end();)
        it = it->first.first == key ? Values.erase(it) : std::next(it);
}

void FakeSettingsStore::Commit() {
    if (FailCommits) throw std::runtime_error("the settings folder is read-only");
    ++Saves;
}

std::vector<std::string> FakeTimeZoneStore::KeyNames() {
    if (Fail) throw std::runtime_error("the time-zone store cannot be read");
    std::vector<std::string> names;
    for (const auto& r : Records)
        names.push_back(r.KeyName);
    return names;
}

std::optional<TTimeZoneRecord> FakeTimeZoneStore::Find(const std::string& keyName) {
    if (Fail) throw std::runtime_error("the time-zone store cannot be read");
    for (const auto& r : Records)
        if (r.KeyName == keyName) return r;
    return std::nullopt;
}

}  // namespace kestrova::testing
