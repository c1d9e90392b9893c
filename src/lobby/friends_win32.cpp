// The friends-list assistant's platform on Windows: the lobby client's
// setup key, its "ZoneClient" window, files opened with share mode 0 and a
// folder change notification waited on together with a stop event.
#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include <windows.h>

#include <algorithm>
#include <vector>

#include "common/file_util.h"
#include "common/wide_text.h"
#include "lobby/friends_ports.h"
#include "lobby/win32_lobby.h"

namespace kestrova {

namespace {

constexpr wchar_t SetupKey[] = L"Software\\Microsoft\\Internet Gaming Zone\\Setup";

std::string LastErrorText() {
    return SystemErrorText(::GetLastError());
}

// A file handle that is closed when it goes.
class TFile {
  public:
    TFile(const std::string& path, DWORD access) {
        // Share mode 0: nobody else may open the file while we hold it.
        h_ = ::CreateFileW(WideOf(path).c_str(), access, 0, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h_ == INVALID_HANDLE_VALUE) error_ = LastErrorText();
    }
    ~TFile() {
        if (Ok()) ::CloseHandle(h_);
    }
    TFile(const TFile&) = delete;
    TFile& operator=(const TFile&) = delete;
    bool Ok() const { return h_ != INVALID_HANDLE_VALUE; }
    HANDLE Get() const { return h_; }
    const std::string& Error() const { return error_; }

  private:
    HANDLE h_;
    std::string error_;
};

class TWin32FriendsFiles : public IFriendsFiles {
  public:
    bool ReadExclusive(const std::string& path, std::string& bytes, std::string& error) override {
        TFile f(path, GENERIC_READ);
        if (!f.Ok()) {
            error = f.Error();
            return false;
        }
        bytes.clear();
        std::vector<char> buf(1 << 16);
        for (;;) {
            DWORD n = 0;
            if (!::ReadFile(f.Get(), buf.data(), static_cast<DWORD>(buf.size()), &n, nullptr)) {
                error = LastErrorText();
                return false;
            }
            if (n == 0) return true;
            bytes.append(buf.data(), n);
        }
    }

    bool WriteExclusive(const std::string& path, const std::string& bytes,
                        std::string& error) override {
        TFile f(path, GENERIC_READ | GENERIC_WRITE);
        if (!f.Ok()) {
            error = f.Error();
            return false;
        }
        for (size_t done = 0; done < bytes.size();) {
            DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 30));
            DWORD written = 0;
            if (!::WriteFile(f.Get(), bytes.data() + done, chunk, &written, nullptr) ||
                written == 0) {
                error = LastErrorText();
                return false;
            }
            done += written;
        }
        if (!::SetEndOfFile(f.Get())) {
            error = LastErrorText();
            return false;
        }
        return true;
    }

    bool Copy(const std::string& from, const std::string& to, bool failIfExists) override {
        if (failIfExists && FileExists(to)) return false;
        try {
            return CopyFileAtomically(from, to);
        } catch (const std::exception&) {
            return false;
        }
    }

    bool Delete(const std::string& path) override {
        return ::DeleteFileW(WideOf(path).c_str()) != 0;
    }

    bool FileExists(const std::string& path) override {
        DWORD attr = ::GetFileAttributesW(WideOf(path).c_str());
        return attr != INVALID_FILE_ATTRIBUTES && !(attr & FILE_ATTRIBUTE_DIRECTORY);
    }

    std::vector<std::string> SubFolders(const std::string& folder) override {
        std::vector<std::string> names;
        std::string pattern = folder;
        if (!pattern.empty() && pattern.back() != '\\' && pattern.back() != '/') pattern += '\\';
        WIN32_FIND_DATAW d{};
        HANDLE h = ::FindFirstFileW(WideOf(pattern + "*").c_str(), &d);
        if (h == INVALID_HANDLE_VALUE) return names;
        do {
            const std::wstring_view name = d.cFileName;
            if ((d.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && name != L"." && name != L"..")
                names.push_back(Cp1252OfWide(name));
        } while (::FindNextFileW(h, &d));
        ::FindClose(h);
        std::sort(names.begin(), names.end());
        return names;
    }

    // The last-write time with the size and the creation time folded in, so
    // a name appended within one tick of the file system's clock, or a list
    // replaced by another file, still changes the stamp.
    std::optional<int64_t> LastWriteTime(const std::string& path) override {
        WIN32_FILE_ATTRIBUTE_DATA a{};
        if (!::GetFileAttributesExW(WideOf(path).c_str(), GetFileExInfoStandard, &a))
            return std::nullopt;
        auto u64 = [](DWORD high, DWORD low) {
            return (static_cast<uint64_t>(high) << 32) | low;
        };
        uint64_t h = u64(a.ftLastWriteTime.dwHighDateTime, a.ftLastWriteTime.dwLowDateTime);
        for (uint64_t v : {u64(a.nFileSizeHigh, a.nFileSizeLow),
                           u64(a.ftCreationTime.dwHighDateTime, a.ftCreationTime.dwLowDateTime)})
            h = (h ^ v) * 0x100000001b3ULL;
        return static_cast<int64_t>(h);
    }

    void Pause(int milliseconds) override { ::Sleep(static_cast<DWORD>(std::max(0, milliseconds))); }
};

bool IsFolder(const std::wstring& path) {
    DWORD attr = ::GetFileAttributesW(path.c_str());
    return attr != INVALID_FILE_ATTRIBUTES && (attr & FILE_ATTRIBUTE_DIRECTORY);
}

// The folder's change notification and the stop event (auto-reset, created
// unsignalled). The stop event comes first in the wait, so a stop request
// wins over a change that is pending at the same time.
class TWin32ChangeNotice : public IChangeNotice {
  public:
    TWin32ChangeNotice(std::wstring folder, HANDLE change, HANDLE stop)
        : folder_(std::move(folder)), change_(change), stop_(stop) {}
    ~TWin32ChangeNotice() override {
        ::FindCloseChangeNotification(change_);
        ::CloseHandle(stop_);
    }

    bool Wait() override {
        if (gone_) {
            ::WaitForSingleObject(stop_, INFINITE);
            return false;
        }
        HANDLE both[2] = {stop_, change_};
        DWORD r = ::WaitForMultipleObjects(2, both, FALSE, INFINITE);
        if (r != WAIT_OBJECT_0 + 1) return false;  // stopped, or nothing left to wait on
        // Re-armed before the file is looked at, so a write made meanwhile
        // signals again. A folder that went away signals once more at most.
        if (!::FindNextChangeNotification(change_) || !IsFolder(folder_)) gone_ = true;
        return true;
    }

    void Wake() override { ::SetEvent(stop_); }

  private:
    std::wstring folder_;
    HANDLE change_, stop_;
    bool gone_ = false;
};

class TWin32FolderWatcher : public IFolderWatcher {
  public:
    std::unique_ptr<IChangeNotice> Watch(const std::string& folder, std::string& error) override {
        std::string path = folder;
        while (path.size() > 3 && (path.back() == '\\' || path.back() == '/')) path.pop_back();
        std::wstring wide = WideOf(path);
        // The file's own writes, and the file deleted, renamed or replaced.
        HANDLE change = ::FindFirstChangeNotificationW(
            wide.c_str(), FALSE, FILE_NOTIFY_CHANGE_LAST_WRITE | FILE_NOTIFY_CHANGE_FILE_NAME);
        if (change == INVALID_HANDLE_VALUE) {
            error = LastErrorText();
            return nullptr;
        }
        HANDLE stop = ::CreateEventW(nullptr, FALSE, FALSE, nullptr);
        if (!stop) {
            error = LastErrorText();
            ::FindCloseChangeNotification(change);
            return nullptr;
        }
        return std::make_unique<TWin32ChangeNotice>(std::move(wide), change, stop);
    }
};

// The "Path" string of the setup key in one view of the registry (a 32-bit
// client on 64-bit Windows writes the 32-bit one); empty when missing.
std::wstring SetupPath(REGSAM view) {
    HKEY key = nullptr;
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, SetupKey, 0, KEY_QUERY_VALUE | view, &key) !=
        ERROR_SUCCESS)
        return {};
    std::wstring value;
    DWORD type = 0, size = 0;
    if (::RegQueryValueExW(key, L"Path", nullptr, &type, nullptr, &size) == ERROR_SUCCESS &&
        (type == REG_SZ || type == REG_EXPAND_SZ) && size > 0) {
        std::vector<wchar_t> buf(size / sizeof(wchar_t) + 1, L'\0');
        DWORD got = size;
        if (::RegQueryValueExW(key, L"Path", nullptr, &type, reinterpret_cast<BYTE*>(buf.data()),
                               &got) == ERROR_SUCCESS)
            value.assign(buf.data());  // up to the first zero, which the value may lack
    }
    ::RegCloseKey(key);
    if (type == REG_EXPAND_SZ && !value.empty()) {
        std::vector<wchar_t> out(32768);
        DWORD n = ::ExpandEnvironmentStringsW(value.c_str(), out.data(),
                                              static_cast<DWORD>(out.size()));
        value = n > 0 && n <= out.size() ? std::wstring(out.data()) : std::wstring();
    }
    return value;
}

class TWin32ZoneFavorites : public IZoneFavorites {
  public:
    std::string RootPath() override {
        std::wstring path = SetupPath(KEY_WOW64_64KEY);
        if (path.empty()) path = SetupPath(KEY_WOW64_32KEY);
        if (path.empty()) return {};
        std::string root = Cp1252OfWide(path);
        while (!root.empty() && (root.back() == '\\' || root.back() == '/')) root.pop_back();
        return root + "\\Favorites\\";
    }
};

// The first top-level window of class "ZoneClient" and its title.
class TWin32ZoneClientWindow : public IZoneClientWindow {
  public:
    TClientWindow FindClientWindow() override {
        const std::vector<TWindowHandle> found = windows_->TopLevelWindows("ZoneClient");
        if (found.empty()) return {TClientWindow::TKind::NoWindow, {}};
        return {TClientWindow::TKind::Found, windows_->WindowText(found.front())};
    }

  private:
    std::unique_ptr<ILobbyWindows> windows_ = MakeWin32LobbyWindows();
};

// The debugger's output, where the assistant's diagnostics belong on Windows.
class TDebuggerDiagnostics : public IDiagnostics {
  public:
    void Output(const std::string& line) override { ::OutputDebugStringA(line.c_str()); }
};

}  // namespace

TFriendsPlatform MakeDefaultFriendsPlatform(std::function<std::string()> configuredFolder) {
    (void)configuredFolder;  // the client's own setup key names the folder
    TFriendsPlatform p;
    p.Favorites = std::make_unique<TWin32ZoneFavorites>();
    p.Window = std::make_unique<TWin32ZoneClientWindow>();
    p.Files = std::make_unique<TWin32FriendsFiles>();
    p.Watcher = std::make_unique<TWin32FolderWatcher>();
    p.Diagnostics = std::make_unique<TDebuggerDiagnostics>();
    return p;
}

}  // namespace kestrova
