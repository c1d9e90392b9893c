#pragma once
// Whole-file reads and crash-safe rewrites of the small text files the
// program keeps (player lists and the files it copies when the folder moves).
#include <optional>
#include <string>
#include <string_view>

#include "common/file_util.h"

namespace kestrova {

// ReadWholeFile (the file's bytes, or nothing) comes from common/file_util.h.
// Writes the bytes to a temporary file in the same folder, flushes it to disk
// and renames it over `path`, so a crash never leaves a half-written file.
// False (and `path` untouched) on any failure.
bool ReplaceFileContents(const std::string& path, std::string_view bytes);
// ReadWholeFile + ReplaceFileContents: a copy that replaces the target whole.
bool CopyFileReplacing(const std::string& from, const std::string& to);

}  // namespace kestrova
