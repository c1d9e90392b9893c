#include "lobby/rapid_assign_control.h"

#include <cstdio>

#include "common/text.h"
#include "engine/signup.h"
#include "records/confirm.h"
#include "records/event_log.h"

namespace kestrova {

namespace {
constexpr const char* kClearQuestion =
    "There are names in the ZoneFriends list, do you want to clear them?\r\nThey will be "
    "restored when the tournament is closed.";
constexpr const char* kNameChangedNotice =
    "The ZoneFriends name has changed. Restoring the original names and deactivating "
    "Rapid-Assign.";
constexpr const char* kNothingToRestore = "No ZoneFriends backup files where found to be restored";
}  // namespace

TRapidAssignControl::TRapidAssignControl(TTourneyState& state, TRapidAssign& assistant)
    : s_(state), ra_(assistant) {
    s_.Ports.RapidAssign = this;
    ra_.OnPlayerAdded = [this](const std::string& n) { PlayerAdded(n); };
    ra_.OnPlayerRemoved = [this](const std::string& n) { PlayerRemoved(n); };
    ra_.OnNameChanged = [this] { NameChanged(); };
}

TRapidAssignControl::~TRapidAssignControl() {
    ra_.OnPlayerAdded = nullptr;
    ra_.OnPlayerRemoved = nullptr;
    ra_.OnNameChanged = nullptr;
    if (s_.Ports.RapidAssign == this) s_.Ports.RapidAssign = nullptr;
}

void TRapidAssignControl::Changed() {
    if (OnMenuChanged) OnMenuChanged();
}

void TRapidAssignControl::ActiveClicked() {
    ra_.SetActive(!ra_.Active());
    WriteLog(s_, std::string("Menu: RapidAssign = ") + OnOff(ra_.Active()));
    Changed();
    if (mode_ == TRapidAssignMode::Added) AskToClearList();
}

void TRapidAssignControl::ModeChosen(TRapidAssignMode mode) {
    const bool was = mode_ == mode;
    mode_ = mode;
    Changed();
    if (mode == TRapidAssignMode::Added && !was) AskToClearList();
}

// Bit 5 set: the stored answer is used without asking.
void TRapidAssignControl::AskToClearList() {
    if (!ra_.Active() || ra_.Friends().empty()) return;
    TAppSettings& settings = s_.Settings;
    if (!(settings.ConfirmNotifyFilter & confirm_bits::ClearZoneFriends)) {
        TConfirmAnswer a = s_.Dialogs().ConfirmDlg(kClearQuestion);
        settings.DefaultClearZfList = a.Yes;
        if (a.DontAskAgain) {
            settings.ConfirmNotifyFilter |= confirm_bits::ClearZoneFriends;
            SaveSettings(s_);
        }
    }
    if (settings.DefaultClearZfList) ra_.ClearFriends();
}

void TRapidAssignControl::ChooseFolder() {
    std::optional<std::string> folder =
        s_.Dialogs().ChooseFolder("Friends list folder", s_.Settings.FriendsFolder);
    if (!folder) return;
    WriteLog(s_, "Menu: RapidAssign friends list folder = " + *folder);
    s_.Settings.FriendsFolder = *folder;
    SaveSettings(s_);
    ra_.RereadRootPath();
}

std::vector<TUnrestoredList> TRapidAssignControl::SearchUnrestored() {
    std::vector<TUnrestoredList> lists;
    for (const auto& nick : ra_.FindUnrestoredLists())
        lists.push_back({nick, !(ra_.Active() && SameText(nick, ra_.Nick()))});
    if (lists.empty()) s_.Dialogs().MessageBox(TMessageBoxKind::Information, kNothingToRestore);
    return lists;
}

void TRapidAssignControl::RestoreLists(const std::vector<TUnrestoredList>& lists) {
    for (const auto& l : lists)
        if (l.Ticked) ra_.RestoreFriendsFile(l.Nick);
}

void TRapidAssignControl::RemoveName(const std::string& name) {
    ra_.RemoveFriend(name);
    fullShown_ = false;
}

void TRapidAssignControl::SignupsClosed() {
    ra_.SetActive(false);
    menuEnabled_ = false;
    Changed();
}

void TRapidAssignControl::TourneyOpened() {
    ra_.SetActive(false);
    menuEnabled_ = !s_.SignupClosed;
    Changed();
}

void TRapidAssignControl::NewTourney(int choice) {
    menuEnabled_ = true;
    fullShown_ = false;
    if (choice == 1 || choice == 2) {
        mode_ = choice == 1 ? TRapidAssignMode::Added : TRapidAssignMode::Removed;
        ra_.SetActive(true);
        Changed();
        if (mode_ == TRapidAssignMode::Added) AskToClearList();
    } else {
        ra_.SetActive(false);
        Changed();
    }
}

// As a name typed into the sign-up box.
void TRapidAssignControl::SignUp(const std::string& name) {
    if (s_.SignupClosed) return;
    const bool full = s_.Players.size() >= static_cast<size_t>(MaxPlayers);
    if (!full) fullShown_ = false;
    if (full && fullShown_) {
        WriteLog(s_, "    -> the bracket is full");
        return;
    }
    fullShown_ = full;
    AddPlayer(s_, name, -1, false, false, -1);
}

void TRapidAssignControl::PlayerAdded(const std::string& name) {
    WriteLog(s_, "Event: RapidAssign player added = " + name);
    if (mode_ == TRapidAssignMode::Added) SignUp(name);
}

void TRapidAssignControl::PlayerRemoved(const std::string& name) {
    WriteLog(s_, "Event: RapidAssign player removed = " + name);
    if (mode_ == TRapidAssignMode::Removed) SignUp(name);
}

void TRapidAssignControl::NameChanged() {
    WriteLog(s_, "Event: RapidAssign deactivated");
    ra_.SetActive(false);
    Changed();
    ShowNotice(s_, confirm_bits::ZoneFriendsRenamedNotice, kNameChangedNotice);
}

void TLogDiagnostics::Output(const std::string& line) {
    std::fputs(line.c_str(), stderr);
    std::string text = line;
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
        text.pop_back();
    WriteLog(s_, text);
}

}  // namespace kestrova
