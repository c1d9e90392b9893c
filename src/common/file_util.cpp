#include "common/file_util.h"

#include <cctype>

namespace kestrova {

namespace {
std::string InFolder(const std::string& folder, const std::string& name) {
    if (!folder.empty() && (folder.back() == '/' || folder.back() == PathSeparator))
        return folder + name;
    return folder + PathSeparator + name;
}
}  // namespace

bool IsTemporaryOf(std::string_view name, std::string_view base) {
    if (name.size() != base.size() + TempInfix.size() + TempSuffixSize) return false;
    if (name.substr(0, base.size()) != base) return false;
    if (name.substr(base.size(), TempInfix.size()) != TempInfix) return false;
    for (char c : name.substr(name.size() - TempSuffixSize))
        if (!std::isalnum(static_cast<unsigned char>(c))) return false;
    return true;
}

void RemoveStaleTemporaries(const std::string& path) {
    const std::string base = FileNameOf(path);
    if (base.empty()) return;
    const std::string folder = FolderOf(path);
    for (const std::string& name : PlainFilesIn(folder))
        if (IsTemporaryOf(name, base)) RemoveFile(InFolder(folder, name));
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
