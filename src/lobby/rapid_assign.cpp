#include "lobby/rapid_assign.h"

#include <algorithm>

#include "common/text.h"
#include "lobby/friends_file.h"
#include "records/player_lists.h"

namespace kestrova {

namespace {

constexpr const char* kFriendsFile = "Friends.txt";
constexpr const char* kBackupFile = "Friends.bak";

std::string WithSeparator(std::string folder) {
    if (!folder.empty() && folder.back() != '/' && folder.back() != '\\') folder += '/';
    return folder;
}

// The separator RootPath uses ("\" on Windows), so paths stay of one kind.
char SeparatorOf(const std::string& root) {
    return !root.empty() && root.back() == '\\' ? '\\' : '/';
}

}  // namespace

TRapidAssign::TRapidAssign(const TRapidAssignPorts& ports)
    : ports_(ports), alive_(std::make_shared<TRapidAssign*>(this)) {
    RereadRootPath();
}

TRapidAssign::~TRapidAssign() {
    SetActive(false);
    *alive_ = nullptr;
}

void TRapidAssign::RereadRootPath() {
    if (!active_) rootPath_ = WithSeparator(ports_.Favorites->RootPath());
}

std::string TRapidAssign::FolderOf(const std::string& nick) const {
    return rootPath_ + nick + SeparatorOf(rootPath_);
}
std::string TRapidAssign::FriendsPath(const std::string& nick) const {
    return FolderOf(nick) + kFriendsFile;
}
std::string TRapidAssign::BackupPath(const std::string& nick) const {
    return FolderOf(nick) + kBackupFile;
}

void TRapidAssign::Diagnostic(const std::string& text) {
    ports_.Diagnostics->Output("KESTROVA: " + text + "\r\n");
}

void TRapidAssign::SetActive(bool active) {
    if (active == active_) return;
    if (active)
        Start();
    else
        Stop();
}

void TRapidAssign::Start() {
    if (rootPath_.empty()) {
        Diagnostic("ZoneFriends root path not found");
        return;
    }
    std::string nick = ReadNick();
    if (nick.empty()) return;
    nick_ = nick;
    // An older backup is never overwritten: it still holds the host's own list.
    if (!ports_.Files->FileExists(BackupPath(nick_)))
        ports_.Files->Copy(FriendsPath(nick_), BackupPath(nick_), true);
    // The folder is watched and the time taken before the read, so nothing
    // written from here on is missed by the watcher.
    std::string error;
    std::unique_ptr<IChangeNotice> notice = ports_.Watcher->Watch(FolderOf(nick_), error);
    std::optional<int64_t> lastWrite = ports_.Files->LastWriteTime(FriendsPath(nick_));
    ReadFriends();
    active_ = true;
    ports_.Loop->StartTimer(NickCheckMilliseconds, [this] { CheckNick(); });
    if (notice)
        StartWatcher(std::move(notice), lastWrite);
    else
        Diagnostic("Could not watch the ZoneFriends folder: " + error);
}

void TRapidAssign::StartWatcher(std::unique_ptr<IChangeNotice> notice,
                                std::optional<int64_t> lastWrite) {
    IRapidAssignLoop* loop = ports_.Loop;
    std::weak_ptr<TRapidAssign*> alive = alive_;
    auto notify = [loop, alive] {
        loop->Post([alive] {
            std::shared_ptr<TRapidAssign*> self = alive.lock();
            if (self && *self) (*self)->Reload();
        });
    };
    monitor_ = std::make_unique<TFileMonitorThread>(FriendsPath(nick_), *ports_.Files,
                                                    std::move(notice), lastWrite, notify);
}

void TRapidAssign::Stop() {
    active_ = false;
    ports_.Loop->StopTimer();
    if (monitor_) monitor_->Stop();
    monitor_.reset();
    RestoreFriendsFile(nick_);
    nick_.clear();
}

std::string TRapidAssign::ReadNick() {
    TClientWindow w = ports_.Window->FindClientWindow();
    if (w.Kind == TClientWindow::TKind::CannotList) return NickFromFolders();
    if (w.Kind == TClientWindow::TKind::NoWindow) {
        Diagnostic("Could not find the ZoneFriends window");
        return {};
    }
    size_t dash = w.Title.find(" - ");
    if (dash == std::string::npos) {
        Diagnostic("Could not find the nick in the ZoneFriends window's title");
        return {};
    }
    return w.Title.substr(dash + 3);
}

// Where no window can be seen, the nick is the one folder of the root that
// holds a friends list.
std::string TRapidAssign::NickFromFolders() {
    std::vector<std::string> nicks;
    for (const auto& sub : ports_.Files->SubFolders(rootPath_))
        if (ports_.Files->FileExists(FriendsPath(sub))) nicks.push_back(sub);
    if (nicks.size() == 1) return nicks.front();
    Diagnostic(nicks.empty() ? "No nick folder with a Friends.txt in " + rootPath_
                             : "More than one nick folder with a Friends.txt in " + rootPath_ +
                                   ", the nick cannot be told");
    return {};
}

bool TRapidAssign::ReadFriends() {
    const std::string path = FriendsPath(nick_);
    std::string bytes, error;
    bool opened = false;
    for (int i = 0; i < OpenAttempts && !opened; ++i) {
        ports_.Files->Pause(OpenPauseMilliseconds);
        opened = ports_.Files->ReadExclusive(path, bytes, error);
    }
    if (!opened) {
        Diagnostic("Could not open Friends.txt");
        ports_.Dialogs->MessageBox(TMessageBoxKind::Error,
                                   "Error reading ZoneFriends list: \r\n\r\n" + error);
        return false;
    }
    std::optional<std::vector<std::string>> names = ParseFriendsText(bytes);
    if (!names) return false;
    friends_ = std::move(*names);
    return true;
}

void TRapidAssign::WriteFriends() {
    if (!active_) return;
    std::string error;
    if (!ports_.Files->WriteExclusive(FriendsPath(nick_), FriendsFileText(friends_), error))
        Diagnostic("Could open Friends.txt to write to");
}

void TRapidAssign::ClearFriends() {
    friends_.clear();
    WriteFriends();
}

void TRapidAssign::RemoveFriend(const std::string& name) {
    if (!active_) return;
    // The entry holds the name as the sign-up filter left it ("Anna Lee"
    // signs up as "AnnaLee"), so the filtered spelling counts as well.
    auto removed = std::remove_if(friends_.begin(), friends_.end(), [&](const std::string& f) {
        return SameText(f, name) || SameText(NormalizePlayerName(f), name);
    });
    if (removed == friends_.end()) return;
    friends_.erase(removed, friends_.end());
    WriteFriends();
}

std::vector<std::string> TRapidAssign::FindUnrestoredLists() {
    std::vector<std::string> nicks;
    if (rootPath_.empty()) return nicks;
    for (const auto& sub : ports_.Files->SubFolders(rootPath_))
        if (ports_.Files->FileExists(BackupPath(sub))) nicks.push_back(sub);
    return nicks;
}

void TRapidAssign::RestoreFriendsFile(const std::string& nick) {
    if (nick.empty() || rootPath_.empty()) return;
    const std::string backup = BackupPath(nick);
    if (!ports_.Files->FileExists(backup)) return;
    if (ports_.Files->Copy(backup, FriendsPath(nick), false))
        ports_.Files->Delete(backup);
    else
        ports_.Dialogs->MessageBox(TMessageBoxKind::Warning,
                                   "Could not restore ZoneFriends file, the original still "
                                   "exists though");
}

void TRapidAssign::Reload() {
    if (!active_) return;
    if (busy_) {
        // A handler is showing a box; read again once it is done.
        reloadPending_ = true;
        return;
    }
    busy_ = true;
    do {
        reloadPending_ = false;
        std::vector<std::string> old = friends_;
        if (!ReadFriends()) continue;
        if (OnPlayerAdded)
            for (const auto& name : NamesNotIn(friends_, old))
                OnPlayerAdded(name);
        if (OnPlayerRemoved)
            for (const auto& name : NamesNotIn(old, friends_))
                OnPlayerRemoved(name);
    } while (reloadPending_ && active_);
    busy_ = false;
}

void TRapidAssign::CheckNick() {
    if (!active_) return;
    std::string nick = ReadNick();
    if (SameText(nick, nick_)) return;
    Diagnostic("ZoneFriends nick has changed, deactivating RapidAssign");
    SetActive(false);
    if (OnNameChanged) OnNameChanged();
}

}  // namespace kestrova
