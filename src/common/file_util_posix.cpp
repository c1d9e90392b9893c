// The file operations of file_util.h on POSIX systems. File names are passed
// to the system as they are.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <vector>

#include "common/file_util.h"

namespace kestrova {

namespace {
[[noreturn]] void Fail(const std::string& path, const char* what, int err) {
    throw std::runtime_error("Can't write file \"" + path + "\": " + what + " (" +
                             std::strerror(err) + ")");
}

bool WriteAll(int fd, std::string_view bytes) {
    const char* p = bytes.data();
    size_t left = bytes.size();
    while (left > 0) {
        ssize_t n = ::write(fd, p, left);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        p += n;
        left -= static_cast<size_t>(n);
    }
    return true;
}

// Up to `maxBytes`; false with errno set when the file cannot be read.
bool ReadAll(const std::string& path, size_t maxBytes, std::string& data) {
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    std::vector<char> buf(1 << 16);
    while (data.size() < maxBytes) {
        ssize_t n = ::read(fd, buf.data(), buf.size());
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            int err = errno;
            ::close(fd);
            errno = err;
            return false;
        }
        if (n == 0) break;
        data.append(buf.data(), static_cast<size_t>(n));
    }
    ::close(fd);
    return true;
}

// Makes the rename itself durable; a folder that cannot be opened or synced
// (some network file systems) does not make the write fail.
void SyncFolder(const std::string& folder) {
    int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}
}  // namespace

std::optional<std::string> ReadFileIfExists(const std::string& path) {
    std::string data;
    if (!ReadAll(path, SIZE_MAX, data)) return std::nullopt;
    return data;
}

std::string ReadFileUpTo(const std::string& path, size_t maxBytes) {
    std::string data;
    if (!ReadAll(path, maxBytes, data)) throw std::runtime_error(std::strerror(errno));
    return data;
}

bool FileExists(const std::string& path) { return ::access(path.c_str(), F_OK) == 0; }

bool RemoveFile(const std::string& path) { return ::unlink(path.c_str()) == 0; }

bool MakeFolders(const std::string& folder) {
    struct stat st {};
    if (::stat(folder.c_str(), &st) == 0) return S_ISDIR(st.st_mode);
    size_t sep = folder.find_last_of('/', folder.size() > 1 ? folder.size() - 2 : 0);
    if (sep != std::string::npos && sep > 0) MakeFolders(folder.substr(0, sep));
    return ::mkdir(folder.c_str(), 0755) == 0 || errno == EEXIST;
}

bool AppendToFile(const std::string& path, std::string_view bytes) {
    // One write() on an O_APPEND descriptor: the bytes are in the system's
    // hands when this returns, so killing the program loses nothing. Not
    // O_DSYNC: a disk flush per log line would cost milliseconds a click.
    int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    if (fd < 0) return false;
    bool ok = WriteAll(fd, bytes);
    return ::close(fd) == 0 && ok;
}

void WriteFileAtomically(const std::string& path, std::string_view bytes) {
    std::string tmp = path + std::string(TempInfix) + std::string(TempSuffixSize, 'X');
    int fd = ::mkstemp(tmp.data());
    if (fd < 0) Fail(path, "cannot create a temporary file", errno);
    // mkstemp creates the file 0600; a rewritten file keeps the usual rights.
    ::fchmod(fd, 0644);
    if (!WriteAll(fd, bytes) || ::fsync(fd) != 0) {
        int err = errno;
        ::close(fd);
        ::unlink(tmp.c_str());
        Fail(path, "cannot write the temporary file", err);
    }
    if (::close(fd) != 0) {
        int err = errno;
        ::unlink(tmp.c_str());
        Fail(path, "cannot close the temporary file", err);
    }
    if (::rename(tmp.c_str(), path.c_str()) != 0) {
        int err = errno;
        ::unlink(tmp.c_str());
        Fail(path, "cannot replace the file", err);
    }
    SyncFolder(FolderOf(path));
}

bool LinkOrCopyFile(const std::string& from, const std::string& to) {
    const std::string temp = to + ".tmp";
    ::unlink(temp.c_str());
    if (::link(from.c_str(), temp.c_str()) == 0) {
        if (::rename(temp.c_str(), to.c_str()) != 0) ::unlink(temp.c_str());
        return true;
    }
    if (errno == ENOENT) return false;
    return CopyFileAtomically(from, to);
}

std::optional<std::string> MakeTempFolder(std::string_view prefix) {
    const char* base = std::getenv("TMPDIR");
    std::string tmpl = std::string(base && *base ? base : "/tmp") + "/" + std::string(prefix) +
                       "XXXXXX";
    if (!::mkdtemp(tmpl.data())) return std::nullopt;
    return tmpl;
}

bool RemoveFolder(const std::string& folder) { return ::rmdir(folder.c_str()) == 0; }

std::vector<std::string> PlainFilesIn(const std::string& folder) {
    std::vector<std::string> names;
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) return names;
    const int fd = ::dirfd(dir);
    while (const dirent* e = ::readdir(dir)) {
        struct stat st {};
        if (::fstatat(fd, e->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(st.st_mode))
            names.emplace_back(e->d_name);
    }
    ::closedir(dir);
    return names;
}

std::string FolderOf(const std::string& path) {
    size_t sep = path.find_last_of('/');
    if (sep == std::string::npos) return ".";
    return sep == 0 ? "/" : path.substr(0, sep);
}

std::string FileNameOf(const std::string& path) {
    size_t sep = path.find_last_of('/');
    return sep == std::string::npos ? path : path.substr(sep + 1);
}

}  // namespace kestrova
