#pragma once
// Whole-file reads and crash-safe rewrites shared by every file the program
// keeps (formats, macros, lists, settings, the tournament itself).
#include <optional>
#include <string>
#include <string_view>

namespace kestrova {

// The bytes of a file, or nothing when it does not exist or cannot be read.
std::optional<std::string> ReadFileIfExists(const std::string& path);

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

// The path with its extension (the part after the last '.' of the file name)
// replaced by `ext`, which includes the dot; added when there is none.
std::string ChangeFileExt(std::string_view path, std::string_view ext);

}  // namespace kestrova
