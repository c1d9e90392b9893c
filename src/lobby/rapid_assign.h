#pragma once
// TRapidAssign: follows the lobby client's friends file while active. It
// backs the file up when it starts and puts the backup back when it stops,
// reads the list again on every change notice of its watcher thread, and
// raises an event for each name added to or removed from the list. Every
// call and every event is on the user-interface thread.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "common/ports.h"
#include "lobby/friends_monitor.h"
#include "lobby/friends_ports.h"

namespace kestrova {

// The ports the assistant works through; all must be set and outlive it.
struct TRapidAssignPorts {
    IZoneFavorites* Favorites = nullptr;
    IZoneClientWindow* Window = nullptr;
    IFriendsFiles* Files = nullptr;
    IFolderWatcher* Watcher = nullptr;
    IDiagnostics* Diagnostics = nullptr;
    IRapidAssignLoop* Loop = nullptr;
    IDialogs* Dialogs = nullptr;
};

class TRapidAssign {
  public:
    static constexpr int NickCheckMilliseconds = 2000;
    static constexpr int OpenAttempts = 8;
    static constexpr int OpenPauseMilliseconds = 10;

    // Reads RootPath once.
    explicit TRapidAssign(const TRapidAssignPorts& ports);
    // Stops first, so the host's list is put back.
    ~TRapidAssign();
    TRapidAssign(const TRapidAssign&) = delete;
    TRapidAssign& operator=(const TRapidAssign&) = delete;

    void SetActive(bool active);
    bool Active() const { return active_; }
    const std::string& RootPath() const { return rootPath_; }
    // Reads the root path again (the host chose another folder); only while
    // inactive, since the active nick's files live under the old one.
    void RereadRootPath();
    const std::string& Nick() const { return nick_; }
    const std::vector<std::string>& Friends() const { return friends_; }

    // Empties the list and writes the file.
    void ClearFriends();
    // While active: deletes every spelling of the name (letter case ignored,
    // or as the sign-up filter leaves it) and writes the file.
    void RemoveFriend(const std::string& name);
    // The sub-folders of RootPath that hold a "Friends.bak".
    std::vector<std::string> FindUnrestoredLists();
    // Puts a nick's "Friends.bak" back over its "Friends.txt" and deletes it.
    void RestoreFriendsFile(const std::string& nick);

    // The change notice (posted by the watcher) and the nick check (the
    // timer); public so the loop's calls can be seen in tests.
    void Reload();
    void CheckNick();

    std::function<void()> OnNameChanged;
    std::function<void(const std::string&)> OnPlayerAdded;
    std::function<void(const std::string&)> OnPlayerRemoved;

    std::string FolderOf(const std::string& nick) const;
    std::string FriendsPath(const std::string& nick) const;
    std::string BackupPath(const std::string& nick) const;

  private:
    void Start();
    void Stop();
    std::string ReadNick();
    std::string NickFromFolders();
    bool ReadFriends();
    void WriteFriends();
    void StartWatcher(std::unique_ptr<IChangeNotice> notice, std::optional<int64_t> lastWrite);
    void Diagnostic(const std::string& text);

    TRapidAssignPorts ports_;
    std::string rootPath_;
    std::string nick_;
    bool active_ = false;
    std::vector<std::string> friends_;
    bool busy_ = false;
    bool reloadPending_ = false;
    std::unique_ptr<TFileMonitorThread> monitor_;
    // Notices posted by a watcher reach the assistant only while it lives.
    std::shared_ptr<TRapidAssign*> alive_;
};

}  // namespace kestrova
