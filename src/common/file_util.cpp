#include "common/file_util.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <stdexcept>
#include <vector>

namespace kestrova {

namespace {
std::string FolderOf(const std::string& path) {
    size_t sep = path.find_last_of('/');
    if (sep == std::string::npos) return ".";
    return sep == 0 ? "/" : path.substr(0, sep);
}

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

constexpr std::string_view kTempInfix = ".tmp-";
constexpr size_t kTempSuffixSize = 6;  // the "XXXXXX" of mkstemp

// `name` is `base`, ".tmp-" and six characters of mkstemp's alphabet.
bool IsTemporaryOf(std::string_view name, std::string_view base) {
    if (name.size() != base.size() + kTempInfix.size() + kTempSuffixSize) return false;
    if (name.substr(0, base.size()) != base) return false;
    if (name.substr(base.size(), kTempInfix.size()) != kTempInfix) return false;
    for (char c : name.substr(name.size() - kTempSuffixSize))
        if (!std::isalnum(static_cast<unsigned char>(c))) return false;
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
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return std::nullopt;
    std::string data;
    std::vector<char> buf(1 << 16);
    for (;;) {
        ssize_t n = ::read(fd, buf.data(), buf.size());
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            ::close(fd);
            return std::nullopt;
        }
        if (n == 0) break;
        data.append(buf.data(), static_cast<size_t>(n));
    }
    ::close(fd);
    return data;
}

void WriteFileAtomically(const std::string& path, std::string_view bytes) {
    const std::string folder = FolderOf(path);
    std::string tmp = path + std::string(kTempInfix) + std::string(kTempSuffixSize, 'X');
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
    SyncFolder(folder);
}

void RemoveStaleTemporaries(const std::string& path) {
    size_t sep = path.find_last_of('/');
    const std::string base = sep == std::string::npos ? path : path.substr(sep + 1);
    if (base.empty()) return;
    DIR* dir = ::opendir(FolderOf(path).c_str());
    if (!dir) return;
    const int fd = ::dirfd(dir);
    while (const dirent* e = ::readdir(dir)) {
        if (!IsTemporaryOf(e->d_name, base)) continue;
        struct stat st {};
        // Only a plain file can be ours: mkstemp never makes a link or a folder.
        if (::fstatat(fd, e->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(st.st_mode))
            continue;
        ::unlinkat(fd, e->d_name, 0);
    }
    ::closedir(dir);
}

bool CopyFileAtomically(const std::string& from, const std::string& to) {
    auto bytes = ReadFileIfExists(from);
    if (!bytes) return false;
    WriteFileAtomically(to, *bytes);
    return true;
}

std::string ChangeFileExt(std::string_view path, std::string_view ext) {
    size_t sep = path.find_last_of("\\/:");
    size_t start = sep == std::string_view::npos ? 0 : sep + 1;
    size_t dot = path.rfind('.');
    std::string base(path);
    if (dot != std::string_view::npos && dot >= start) base.resize(dot);
    return base + std::string(ext);
}

}  // namespace kestrova
