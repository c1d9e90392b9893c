#include "records/file_replace.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace kestrova {

// ReadWholeFile is common/file_util's (one definition for the whole core).

namespace {
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
}  // namespace

bool ReplaceFileContents(const std::string& path, std::string_view bytes) {
    std::string tmpl = path + ".tmpXXXXXX";
    std::vector<char> name(tmpl.begin(), tmpl.end());
    name.push_back('\0');
    int fd = ::mkstemp(name.data());
    if (fd < 0) return false;
    bool ok = WriteAll(fd, bytes) && ::fsync(fd) == 0;
    ok = (::close(fd) == 0) && ok;
    // The list files are plain user files; mkstemp's 0600 would hide them from
    // other accounts that share the folder.
    if (ok) ::chmod(name.data(), 0644);
    if (ok && std::rename(name.data(), path.c_str()) == 0) return true;
    ::unlink(name.data());
    return false;
}

bool CopyFileReplacing(const std::string& from, const std::string& to) {
    std::optional<std::string> bytes = ReadWholeFile(from);
    return bytes && ReplaceFileContents(to, *bytes);
}

}  // namespace kestrova
