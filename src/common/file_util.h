#pragma once
// Whole-file reads, appends and crash-safe rewrites shared by every file the
// program keeps (formats, macros, lists, settings, the log, the tournament).
// Paths are the program's own text (cp1252); what talks to the system is in
// file_util_posix.cpp and file_util_win32.cpp, which convert names to the
// system's (UTF-16 on Windows) at that boundary.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kestrova {

#ifdef _WIN32
inline constexpr char PathSeparator = '\\';
#else
inline constexpr char PathSeparator = '/';
#endif

// The bytes of a file, or nothing when it does not exist or cannot be read.
std::optional<std::string> ReadFileIfExists(const std::string& path);

// At most `maxBytes` of the file. Throws std::runtime_error holding only the
// system's words for why the file cannot be read.
std::string ReadFileUpTo(const std::string& path, size_t maxBytes);

bool FileExists(const std::string& path);
// False when there was no such file or it could not be removed.
bool RemoveFile(const std::string& path);
// Creates the folder and the folders above it that are missing; true when
// the folder exists afterwards.
bool MakeFolders(const std::string& folder);

// Appends `bytes` with one write to the end of the file, creating it. The
// bytes are with the system when it returns (on Windows, written through to
// the disk). False when the file cannot be opened or written.
bool AppendToFile(const std::string& path, std::string_view bytes);

// Replaces the file with `bytes` so that a crash or power cut leaves either the
// old file or the new one, never a truncated mix: the bytes go to a temporary
// file in the same folder, are flushed to disk, and the temporary file is then
// renamed over the old one. Throws std::runtime_error naming the file on failure.
void WriteFileAtomically(const std::string& path, std::string_view bytes);

// Removes the temporary files that writes of `path` killed midway left
// beside it: regular files named exactly as WriteFileAtomically names them
// (the file's name, ".tmp-" and six letters or digits). Nothing else is
// touched, and a file that cannot be removed is left. Only one copy of the
// program writes a given file, so such a file is never another write's.
void RemoveStaleTemporaries(const std::string& path);

// Copies `from` over `to` (atomically, as above). False when `from` cannot be
// read; nothing is touched then.
bool CopyFileAtomically(const std::string& from, const std::string& to);

// Makes `to` hold what `from` holds now, replacing it: as a hard link where
// the file system has them (cheap, and as good as a copy for a file that is
// only ever replaced, never rewritten in place), else as a copy. False when
// `from` does not exist; `to` is left as it was then.
bool LinkOrCopyFile(const std::string& from, const std::string& to);

// A new empty folder under the system's temporary folder, its name starting
// with `prefix`; nothing when it cannot be made.
std::optional<std::string> MakeTempFolder(std::string_view prefix);
// Removes an empty folder.
bool RemoveFolder(const std::string& folder);

// Names of the plain files (no folders, no links) in a folder.
std::vector<std::string> PlainFilesIn(const std::string& folder);

// The folder part of a path ("." when there is none) and the name after it.
std::string FolderOf(const std::string& path);
std::string FileNameOf(const std::string& path);

// The path with its extension (the part after the last '.' of the file name)
// replaced by `ext`, which includes the dot; added when there is none.
std::string ChangeFileExt(std::string_view path, std::string_view ext);

// True when `name` is `base`, ".tmp-" and six letters or digits: the name
// WriteFileAtomically gives its temporary file.
bool IsTemporaryOf(std::string_view name, std::string_view base);
inline constexpr std::string_view TempInfix = ".tmp-";
inline constexpr size_t TempSuffixSize = 6;

}  // namespace kestrova
