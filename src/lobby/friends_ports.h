#pragma once
// What the friends-list assistant (TRapidAssign) needs from the platform.
//
// Each port is small so that one platform file can implement it with the
// system's own calls. friends_posix.cpp holds the defaults for Linux and
// other POSIX systems; a Windows build supplies its own (Win32 column below)
// and returns them from MakeDefaultFriendsPlatform.
//
//  port                  Win32                                   POSIX default
//  IZoneFavorites        HKLM "\Software\Microsoft\Internet      the "Friends list folder"
//                        Gaming Zone\Setup" (read-only), value   setting, else the Wine
//                        "Path", + "\Favorites\"                 prefix's registry files
//  IZoneClientWindow     FindWindowEx(0, 0, "ZoneClient", 0),    cannot list windows:
//                        GetWindowText (256 characters)          CannotList
//  IFriendsFiles         CreateFile with share mode 0, CopyFile, open + flock(LOCK_EX|NB),
//                        DeleteFile, FindFirstFile, the          std::filesystem,
//                        last-write time, FormatMessage          strerror
//  IFolderWatcher /      FindFirstChangeNotification(folder,     inotify on the folder and
//  IChangeNotice         FILE_NOTIFY_CHANGE_LAST_WRITE) and an   an eventfd, waited on
//                        auto-reset StopEvent, waited on with    with poll()
//                        WaitForMultipleObjects(INFINITE)
//  IDiagnostics          OutputDebugStringA                      stderr and the event log
//  IRapidAssignLoop      (shared, Qt: ui/rapid_assign_commands.cpp; PostMessage 0x80C8 and
//                        timer id 1 in the original design)
//
// Threads: every call is made on the user-interface thread except
// IChangeNotice::Wait (the watcher thread only), IChangeNotice::Wake and
// IRapidAssignLoop::Post (any thread), and IFriendsFiles::LastWriteTime
// (the watcher thread as well; it must not touch shared state).
// Paths and names are cp1252 bytes, as everywhere in the core.
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace kestrova {

// Where the lobby client keeps one folder per nick.
class IZoneFavorites {
  public:
    virtual ~IZoneFavorites() = default;
    // The favourites folder, ending in the path separator; empty when unknown.
    virtual std::string RootPath() = 0;
};

// The lobby client's top-level window (class "ZoneClient").
struct TClientWindow {
    enum class TKind {
        Found,       // Title holds the window's title
        NoWindow,    // the platform lists windows and there is none
        CannotList,  // the platform cannot list other programs' windows
    };
    TKind Kind = TKind::CannotList;
    std::string Title;
};

class IZoneClientWindow {
  public:
    virtual ~IZoneClientWindow() = default;
    virtual TClientWindow FindClientWindow() = 0;
};

// The files of the friends list. Reads and writes take the file for
// themselves alone (no other program may open it meanwhile); on failure
// `error` gets the system's text for the cause.
class IFriendsFiles {
  public:
    virtual ~IFriendsFiles() = default;
    // One attempt to read the whole file with exclusive access.
    virtual bool ReadExclusive(const std::string& path, std::string& bytes, std::string& error) = 0;
    // Overwrites an existing file with exclusive access and truncates it to
    // the new length. Never creates the file.
    virtual bool WriteExclusive(const std::string& path, const std::string& bytes,
                                std::string& error) = 0;
    // Copies `from` to `to`; with failIfExists an existing `to` is kept and
    // the call fails. A copy never leaves `to` half-written.
    virtual bool Copy(const std::string& from, const std::string& to, bool failIfExists) = 0;
    virtual bool Delete(const std::string& path) = 0;
    virtual bool FileExists(const std::string& path) = 0;
    // The names of the folders directly inside `folder`.
    virtual std::vector<std::string> SubFolders(const std::string& folder) = 0;
    // The file's last-write time in the platform's own units; nothing when
    // the file is missing. Called from the watcher thread.
    virtual std::optional<int64_t> LastWriteTime(const std::string& path) = 0;
    // The pause between two attempts to open a locked file.
    virtual void Pause(int milliseconds) = 0;
};

// One folder's change notification together with its stop event.
class IChangeNotice {
  public:
    virtual ~IChangeNotice() = default;
    // Blocks without a time limit until a file of the folder was written
    // (true) or Wake was called (false). Each call re-arms the notice. A
    // folder that disappears gives one last true, then waits for Wake only.
    virtual bool Wait() = 0;
    // Makes the current Wait, or the next one, return false at once.
    virtual void Wake() = 0;
};

class IFolderWatcher {
  public:
    virtual ~IFolderWatcher() = default;
    // Starts watching `folder` (ending in the separator or not); nothing
    // when the platform refuses, with its text in `error`.
    virtual std::unique_ptr<IChangeNotice> Watch(const std::string& folder, std::string& error) = 0;
};

// The assistant's diagnostics ("KESTROVA: ..." lines, "\r\n" included).
class IDiagnostics {
  public:
    virtual ~IDiagnostics() = default;
    virtual void Output(const std::string& line) = 0;
};

// The user-interface thread's message loop.
class IRapidAssignLoop {
  public:
    virtual ~IRapidAssignLoop() = default;
    // Runs `call` on the user-interface thread soon. Safe from any thread.
    virtual void Post(std::function<void()> call) = 0;
    // Runs `tick` on the user-interface thread every `milliseconds` until
    // StopTimer. Starting again replaces the timer.
    virtual void StartTimer(int milliseconds, std::function<void()> tick) = 0;
    virtual void StopTimer() = 0;
};

// The platform pieces, owned together by whoever builds the assistant.
struct TFriendsPlatform {
    std::unique_ptr<IZoneFavorites> Favorites;
    std::unique_ptr<IZoneClientWindow> Window;
    std::unique_ptr<IFriendsFiles> Files;
    std::unique_ptr<IFolderWatcher> Watcher;
    // Unset: standard error and the event log (TLogDiagnostics).
    std::unique_ptr<IDiagnostics> Diagnostics;
};

// The platform's defaults. `configuredFolder` is read every time the root
// path is asked for (the host may choose another folder); on Windows it is
// not used.
TFriendsPlatform MakeDefaultFriendsPlatform(std::function<std::string()> configuredFolder);

}  // namespace kestrova
