// The file operations of file_util.h on Windows. The program's paths are
// cp1252 text; they become UTF-16 here and every call is the wide one, so a
// name like "Été.kvb" is the same file whatever the system's code page is.
#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include <windows.h>

#include <cstdint>
#include <stdexcept>
#include <vector>

#include "common/file_util.h"
#include "common/wide_text.h"

namespace kestrova {

namespace {
std::wstring Wide(const std::string& path) { return WideOf(path); }
std::string Narrow(const wchar_t* w) { return Cp1252OfWide(w); }
std::string ErrorText(DWORD err) { return SystemErrorText(err); }

[[noreturn]] void Fail(const std::string& path, const char* what, DWORD err) {
    throw std::runtime_error("Can't write file \"" + path + "\": " + what + " (" +
                             ErrorText(err) + ")");
}

class THandle {
public:
    explicit THandle(HANDLE h) : h_(h) {}
    ~THandle() { Close(); }
    THandle(const THandle&) = delete;
    THandle& operator=(const THandle&) = delete;
    bool Ok() const { return h_ != INVALID_HANDLE_VALUE; }
    HANDLE Get() const { return h_; }
    bool Close() {
        bool ok = !Ok() || ::CloseHandle(h_);
        h_ = INVALID_HANDLE_VALUE;
        return ok;
    }

private:
    HANDLE h_;
};

bool WriteAll(HANDLE h, std::string_view bytes) {
    const char* p = bytes.data();
    size_t left = bytes.size();
    while (left > 0) {
        DWORD chunk = left > (1u << 30) ? (1u << 30) : static_cast<DWORD>(left);
        DWORD written = 0;
        if (!::WriteFile(h, p, chunk, &written, nullptr) || written == 0) return false;
        p += written;
        left -= written;
    }
    return true;
}

// Up to `maxBytes`; false with the last error set when the file cannot be read.
// Others may go on reading, writing and even renaming the file meanwhile.
bool ReadAll(const std::string& path, size_t maxBytes, std::string& data) {
    THandle f(::CreateFileW(Wide(path).c_str(), GENERIC_READ,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!f.Ok()) return false;
    std::vector<char> buf(1 << 16);
    while (data.size() < maxBytes) {
        DWORD n = 0;
        if (!::ReadFile(f.Get(), buf.data(), static_cast<DWORD>(buf.size()), &n, nullptr))
            return false;
        if (n == 0) break;
        data.append(buf.data(), n);
    }
    return true;
}

// Six letters or digits that differ between calls, processes and runs.
std::string RandomSuffix() {
    static uint64_t counter = 0;
    LARGE_INTEGER t{};
    ::QueryPerformanceCounter(&t);
    uint64_t x = static_cast<uint64_t>(t.QuadPart) ^
                 (static_cast<uint64_t>(::GetCurrentProcessId()) << 32) ^
                 (++counter * 0x9E3779B97F4A7C15ull);
    static constexpr char kAlphabet[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    std::string s(TempSuffixSize, 'X');
    for (char& c : s) {
        x ^= x >> 31;
        x *= 0xBF58476D1CE4E5B9ull;
        x ^= x >> 29;
        c = kAlphabet[x % (sizeof kAlphabet - 1)];
    }
    return s;
}

constexpr DWORD kReplaceFlags = MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH;
}  // namespace

std::optional<std::string> ReadFileIfExists(const std::string& path) {
    std::string data;
    if (!ReadAll(path, SIZE_MAX, data)) return std::nullopt;
    return data;
}

std::string ReadFileUpTo(const std::string& path, size_t maxBytes) {
    std::string data;
    if (!ReadAll(path, maxBytes, data)) throw std::runtime_error(ErrorText(::GetLastError()));
    return data;
}

bool FileExists(const std::string& path) {
    return ::GetFileAttributesW(Wide(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool RemoveFile(const std::string& path) { return ::DeleteFileW(Wide(path).c_str()) != 0; }

bool MakeFolders(const std::string& folder) {
    DWORD attr = ::GetFileAttributesW(Wide(folder).c_str());
    if (attr != INVALID_FILE_ATTRIBUTES) return (attr & FILE_ATTRIBUTE_DIRECTORY) != 0;
    size_t sep = folder.find_last_of("\\/", folder.size() > 1 ? folder.size() - 2 : 0);
    if (sep != std::string::npos && sep > 0) MakeFolders(folder.substr(0, sep));
    return ::CreateDirectoryW(Wide(folder).c_str(), nullptr) ||
           ::GetLastError() == ERROR_ALREADY_EXISTS;
}

bool AppendToFile(const std::string& path, std::string_view bytes) {
    // FILE_APPEND_DATA alone makes every write go to the end, even with
    // another writer; write-through puts the line on the disk before the
    // call returns.
    THandle f(::CreateFileW(Wide(path).c_str(), FILE_APPEND_DATA,
                            FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL | FILE_FLAG_WRITE_THROUGH, nullptr));
    if (!f.Ok()) return false;
    bool ok = WriteAll(f.Get(), bytes);
    return f.Close() && ok;
}

void WriteFileAtomically(const std::string& path, std::string_view bytes) {
    std::wstring tmp;
    HANDLE h = INVALID_HANDLE_VALUE;
    for (int attempt = 0; attempt < 100 && h == INVALID_HANDLE_VALUE; ++attempt) {
        tmp = Wide(path + std::string(TempInfix) + RandomSuffix());
        h = ::CreateFileW(tmp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                          FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h == INVALID_HANDLE_VALUE && ::GetLastError() != ERROR_FILE_EXISTS) break;
    }
    THandle f(h);
    if (!f.Ok()) Fail(path, "cannot create a temporary file", ::GetLastError());
    if (!WriteAll(f.Get(), bytes) || !::FlushFileBuffers(f.Get())) {
        DWORD err = ::GetLastError();
        f.Close();
        ::DeleteFileW(tmp.c_str());
        Fail(path, "cannot write the temporary file", err);
    }
    if (!f.Close()) {
        DWORD err = ::GetLastError();
        ::DeleteFileW(tmp.c_str());
        Fail(path, "cannot close the temporary file", err);
    }
    // Write-through: the move is on the disk when the call returns, which a
    // folder flush does on POSIX systems.
    if (!::MoveFileExW(tmp.c_str(), Wide(path).c_str(), kReplaceFlags)) {
        DWORD err = ::GetLastError();
        ::DeleteFileW(tmp.c_str());
        Fail(path, "cannot replace the file", err);
    }
}

bool LinkOrCopyFile(const std::string& from, const std::string& to) {
    const std::wstring source = Wide(from);
    const std::wstring temp = Wide(to + ".tmp");
    ::DeleteFileW(temp.c_str());
    if (!::CreateHardLinkW(temp.c_str(), source.c_str(), nullptr)) {
        DWORD err = ::GetLastError();
        if (err == ERROR_FILE_NOT_FOUND || err == ERROR_PATH_NOT_FOUND) return false;
        // FAT volumes and some shares have no links: a copy does.
        if (!::CopyFileW(source.c_str(), temp.c_str(), FALSE)) {
            ::DeleteFileW(temp.c_str());
            return CopyFileAtomically(from, to);
        }
    }
    if (!::MoveFileExW(temp.c_str(), Wide(to).c_str(), kReplaceFlags)) ::DeleteFileW(temp.c_str());
    return true;
}

std::optional<std::string> MakeTempFolder(std::string_view prefix) {
    wchar_t base[MAX_PATH + 1];
    DWORD n = ::GetTempPathW(MAX_PATH + 1, base);
    if (n == 0 || n > MAX_PATH) return std::nullopt;
    const std::string folder = Narrow(base);
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string path = folder + std::string(prefix) + RandomSuffix();
        if (::CreateDirectoryW(Wide(path).c_str(), nullptr)) return path;
        if (::GetLastError() != ERROR_ALREADY_EXISTS) break;
    }
    return std::nullopt;
}

bool RemoveFolder(const std::string& folder) {
    return ::RemoveDirectoryW(Wide(folder).c_str()) != 0;
}

std::vector<std::string> PlainFilesIn(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAW d{};
    std::string pattern = folder;
    if (!pattern.empty() && pattern.back() != '\\' && pattern.back() != '/') pattern += '\\';
    HANDLE h = ::FindFirstFileW(Wide(pattern + "*").c_str(), &d);
    if (h == INVALID_HANDLE_VALUE) return names;
    do {
        // A reparse point is a link or a mount: never one of our files.
        if (d.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT))
            continue;
        names.push_back(Narrow(d.cFileName));
    } while (::FindNextFileW(h, &d));
    ::FindClose(h);
    return names;
}

std::string FolderOf(const std::string& path) {
    size_t sep = path.find_last_of("\\/");
    if (sep == std::string::npos) return ".";
    // "\x" and "C:\x" are in a root folder, which keeps its separator.
    if (sep == 0 || (sep == 2 && path[1] == ':')) return path.substr(0, sep + 1);
    return path.substr(0, sep);
}

std::string FileNameOf(const std::string& path) {
    size_t sep = path.find_last_of("\\/");
    return sep == std::string::npos ? path : path.substr(sep + 1);
}

}  // namespace kestrova
