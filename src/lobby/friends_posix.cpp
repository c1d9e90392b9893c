// The friends-list assistant's platform on Linux and other POSIX systems.
// A Windows build leaves this file empty and brings its Win32 one.
#ifndef _WIN32

#include <fcntl.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/file.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <stdexcept>
#include <thread>

#include "common/file_util.h"
#include "lobby/friends_ports.h"
#include "lobby/friends_wine.h"

namespace kestrova {

namespace {

namespace fs = std::filesystem;

std::string SystemText(int error) {
    return std::strerror(error);
}

// A descriptor holding the file for this process alone. flock() locks are
// advisory: they keep out every program that asks (another copy of this
// one, tools that lock), which is what POSIX offers in place of share modes.
class TLockedFile {
  public:
    TLockedFile(const std::string& path, int flags) {
        fd_ = ::open(path.c_str(), flags | O_CLOEXEC);
        if (fd_ < 0) {
            error_ = errno;
            return;
        }
        if (::flock(fd_, LOCK_EX | LOCK_NB) != 0) {
            error_ = errno;
            ::close(fd_);
            fd_ = -1;
        }
    }
    ~TLockedFile() {
        if (fd_ >= 0) ::close(fd_);  // closing releases the lock
    }
    TLockedFile(const TLockedFile&) = delete;
    TLockedFile& operator=(const TLockedFile&) = delete;
    int Fd() const { return fd_; }
    std::string Error() const {
        return error_ == EWOULDBLOCK
                   ? "The file is in use by another program (" + SystemText(error_) + ")."
                   : SystemText(error_);
    }

  private:
    int fd_ = -1;
    int error_ = 0;
};

class TPosixFriendsFiles : public IFriendsFiles {
  public:
    bool ReadExclusive(const std::string& path, std::string& bytes, std::string& error) override {
        TLockedFile f(path, O_RDONLY);
        if (f.Fd() < 0) {
            error = f.Error();
            return false;
        }
        bytes.clear();
        char buf[65536];
        for (;;) {
            ssize_t n = ::read(f.Fd(), buf, sizeof buf);
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) {
                error = SystemText(errno);
                return false;
            }
            if (n == 0) return true;
            bytes.append(buf, static_cast<size_t>(n));
        }
    }

    bool WriteExclusive(const std::string& path, const std::string& bytes,
                        std::string& error) override {
        TLockedFile f(path, O_RDWR);
        if (f.Fd() < 0) {
            error = f.Error();
            return false;
        }
        size_t done = 0;
        while (done < bytes.size()) {
            ssize_t n = ::pwrite(f.Fd(), bytes.data() + done, bytes.size() - done,
                                 static_cast<off_t>(done));
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) {
                error = SystemText(errno);
                return false;
            }
            done += static_cast<size_t>(n);
        }
        if (::ftruncate(f.Fd(), static_cast<off_t>(bytes.size())) != 0) {
            error = SystemText(errno);
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
        std::error_code ec;
        return fs::remove(path, ec);
    }

    bool FileExists(const std::string& path) override {
        std::error_code ec;
        return fs::is_regular_file(path, ec);
    }

    std::vector<std::string> SubFolders(const std::string& folder) override {
        std::vector<std::string> names;
        std::error_code ec;
        for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
            std::error_code dirError;
            if (it->is_directory(dirError)) names.push_back(it->path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    // The modification time alone repeats when two writes fall in one tick
    // of the file system's clock, so the size, the change time and the file
    // itself are folded in: an appended name always changes the stamp.
    std::optional<int64_t> LastWriteTime(const std::string& path) override {
        struct stat st;
        if (::stat(path.c_str(), &st) != 0) return std::nullopt;
        auto ns = [](const timespec& t) {
            return static_cast<int64_t>(t.tv_sec) * 1000000000 + t.tv_nsec;
        };
        uint64_t h = static_cast<uint64_t>(ns(st.st_mtim));
        for (uint64_t v : {static_cast<uint64_t>(ns(st.st_ctim)), static_cast<uint64_t>(st.st_size),
                           static_cast<uint64_t>(st.st_ino)})
            h = (h ^ v) * 0x100000001b3ULL;
        return static_cast<int64_t>(h);
    }

    void Pause(int milliseconds) override {
        std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
    }
};

// inotify on the folder, and an eventfd as the stop event.
class TInotifyNotice : public IChangeNotice {
  public:
    TInotifyNotice(int inotifyFd, int wakeFd) : fd_(inotifyFd), wake_(wakeFd) {}
    ~TInotifyNotice() override {
        ::close(fd_);
        ::close(wake_);
    }

    bool Wait() override {
        for (;;) {
            pollfd p[2] = {{wake_, POLLIN, 0}, {gone_ ? -1 : fd_, POLLIN, 0}};
            if (::poll(p, 2, -1) < 0) {
                if (errno == EINTR) continue;
                return false;  // nothing sensible to wait on: end the thread
            }
            if (p[0].revents & POLLIN) {
                uint64_t v;
                (void)!::read(wake_, &v, sizeof v);  // auto-reset
                return false;
            }
            if ((p[1].revents & POLLIN) && Drain()) return true;
        }
    }

    void Wake() override {
        uint64_t one = 1;
        (void)!::write(wake_, &one, sizeof one);
    }

  private:
    // Reads every queued event; true when one concerned a written file.
    bool Drain() {
        alignas(inotify_event) char buf[8192];
        bool any = false;
        for (;;) {
            ssize_t n = ::read(fd_, buf, sizeof buf);
            if (n <= 0) return any;
            for (ssize_t i = 0; i < n;) {
                auto* e = reinterpret_cast<inotify_event*>(buf + i);
                if (e->mask & (IN_IGNORED | IN_DELETE_SELF | IN_MOVE_SELF)) gone_ = true;
                any = true;
                i += static_cast<ssize_t>(sizeof(inotify_event) + e->len);
            }
        }
    }

    int fd_, wake_;
    bool gone_ = false;
};

class TInotifyWatcher : public IFolderWatcher {
  public:
    std::unique_ptr<IChangeNotice> Watch(const std::string& folder, std::string& error) override {
        int fd = ::inotify_init1(IN_CLOEXEC | IN_NONBLOCK);
        if (fd < 0) {
            error = SystemText(errno);
            return nullptr;
        }
        constexpr uint32_t mask = IN_MODIFY | IN_CLOSE_WRITE | IN_ATTRIB | IN_CREATE | IN_DELETE |
                                  IN_MOVED_FROM | IN_MOVED_TO | IN_DELETE_SELF | IN_MOVE_SELF;
        int wake = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
        if (::inotify_add_watch(fd, folder.c_str(), mask) < 0 || wake < 0) {
            error = SystemText(errno);
            ::close(fd);
            if (wake >= 0) ::close(wake);
            return nullptr;
        }
        return std::make_unique<TInotifyNotice>(fd, wake);
    }
};

// The host's chosen folder, else the client installed in a Wine prefix.
class TPosixZoneFavorites : public IZoneFavorites {
  public:
    explicit TPosixZoneFavorites(std::function<std::string()> configured)
        : configured_(std::move(configured)) {}
    std::string RootPath() override {
        std::string chosen = configured_ ? configured_() : std::string();
        return chosen.empty() ? WineFavoritesFolder() : chosen;
    }

  private:
    std::function<std::string()> configured_;
};

// Other programs' windows cannot be listed portably here (Wayland forbids
// it, and under X11 a Wine window does not carry its Win32 class).
class TNoWindowList : public IZoneClientWindow {
  public:
    TClientWindow FindClientWindow() override { return {TClientWindow::TKind::CannotList, {}}; }
};

}  // namespace

TFriendsPlatform MakeDefaultFriendsPlatform(std::function<std::string()> configuredFolder) {
    TFriendsPlatform p;
    p.Favorites = std::make_unique<TPosixZoneFavorites>(std::move(configuredFolder));
    p.Window = std::make_unique<TNoWindowList>();
    p.Files = std::make_unique<TPosixFriendsFiles>();
    p.Watcher = std::make_unique<TInotifyWatcher>();
    return p;
}

}  // namespace kestrova

#endif  // _WIN32
