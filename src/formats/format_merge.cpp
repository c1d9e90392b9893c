#include "formats/format_merge.h"

#include <filesystem>
#include <unordered_map>

#include "common/file_util.h"
#include "common/text.h"
#include "formats/message_file.h"
#include "formats/tourney_format.h"

namespace kestrova {

namespace {
// Position of the next "%p" (either case) at or after `from`, or npos.
size_t FindPlayerToken(const std::string& line, size_t from) {
    for (size_t i = from; i + 1 < line.size(); ++i)
        if (line[i] == '%' && (line[i + 1] == 'p' || line[i + 1] == 'P')) return i;
    return std::string::npos;
}

bool UpgradeLine(std::string& line) {
    size_t first = FindPlayerToken(line, 0);
    if (first == std::string::npos) return false;
    size_t second = FindPlayerToken(line, first + 2);
    if (second == std::string::npos) return false;
    line[second + 1] = line[second + 1] == 'P' ? 'O' : 'o';
    return true;
}

bool IsHeader(std::string_view raw) {
    std::string t = Trim(raw);
    return t.size() >= 3 && t[0] == '[';
}

int IndexOfName(const std::vector<TTourneyFormat>& formats, const std::string& name) {
    for (size_t i = 0; i < formats.size(); ++i)
        if (SameText(formats[i].Name, name)) return static_cast<int>(i);
    return -1;
}

void BackupAndWrite(const std::string& path, const std::string& bytes) {
    if (FileExists(path)) CopyFileAtomically(path, ChangeFileExt(path, ".bak"));
    WriteFileAtomically(path, bytes);
}
}  // namespace

int UpgradeOpponentTokens(const std::string& formatsPath) {
    auto bytes = ReadFileIfExists(formatsPath);
    if (!bytes) return 0;
    // Edits the raw text line by line, so that everything but the changed
    // lines (line ends, short lines, repeated blocks) stays byte for byte.
    std::string out;
    out.reserve(bytes->size());
    int changed = 0;
    bool inSection = false;
    size_t start = 0;
    const std::string& text = *bytes;
    while (start < text.size()) {
        size_t end = text.find_first_of("\r\n", start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        if (IsHeader(line)) {
            inSection = true;
        } else if (inSection && UpgradeLine(line)) {
            ++changed;
        }
        out += line;
        // Keep the line end exactly as it was (CR LF, LF or CR).
        size_t next = end;
        if (next < text.size() && text[next] == '\r') ++next;
        if (next < text.size() && text[next] == '\n') ++next;
        out.append(text, end, next - end);
        start = next;
    }
    if (changed > 0) BackupAndWrite(formatsPath, out);
    return changed;
}

int UpgradeOpponentTokens(TTourneyState& s) {
    return UpgradeOpponentTokens(FormatsFilePath(s));
}

std::string ExportText(const std::vector<TTourneyFormat>& formats) {
    std::string out;
    for (const auto& f : formats) {
        out += "[" + f.Name + "]\r\n";
        for (const auto& line : f.Lines)
            out += line + "\r\n";
        out += "\r\n";
    }
    return out;
}

void ExportFormats(const std::string& path, const std::vector<TTourneyFormat>& formats,
                   bool append) {
    std::string bytes;
    if (append) bytes = ReadFileIfExists(path).value_or(std::string());
    bytes += ExportText(formats);
    WriteFileAtomically(path, bytes);
}

std::vector<TTourneyFormat> ReadFormatsFile(const std::string& path) {
    std::vector<TTourneyFormat> formats;
    auto bytes = ReadFileIfExists(path);
    if (!bytes) return formats;
    for (auto& block : ReadSectionBlocks(*bytes))
        formats.push_back({std::move(block.Name), std::move(block.Lines)});
    return formats;
}

void WriteFormatsFile(const std::string& path, const std::vector<TTourneyFormat>& formats) {
    BackupAndWrite(path, ExportText(formats));
}

std::string RenameProposal(const std::vector<TTourneyFormat>& formats, const std::string& name) {
    for (int n = 2;; ++n) {
        std::string candidate = Format("%s (%d)", name.c_str(), n);
        if (IndexOfName(formats, candidate) < 0) return candidate;
    }
}

namespace {
// The formats of the merge by name, so that a large import stays linear.
class TNameIndex {
  public:
    explicit TNameIndex(const std::vector<TTourneyFormat>& formats) {
        for (size_t i = 0; i < formats.size(); ++i)
            index_.emplace(UpperCase(formats[i].Name), static_cast<int>(i));
    }
    int Find(const std::string& name) const {
        auto it = index_.find(UpperCase(name));
        return it == index_.end() ? -1 : it->second;
    }
    void Add(const std::string& name, int at) { index_.emplace(UpperCase(name), at); }
    // Overwriting takes the incoming spelling of the name.
    void Rename(const std::string& from, const std::string& to, int at) {
        index_.erase(UpperCase(from));
        index_[UpperCase(to)] = at;
    }
    std::string Proposal(const std::string& name) const {
        for (int n = 2;; ++n) {
            std::string candidate = Format("%s (%d)", name.c_str(), n);
            if (Find(candidate) < 0) return candidate;
        }
    }

  private:
    std::unordered_map<std::string, int> index_;
};
}  // namespace

bool MergeFormats(const std::string& formatsPath, const std::vector<TTourneyFormat>& chosen,
                  IMergeResolver& resolver) {
    TMessageFile file(formatsPath);
    file.Load();
    std::vector<TTourneyFormat> formats = FormatsOf(file);
    TNameIndex index(formats);
    for (const auto& f : chosen) {
        // A format without a name would be a header the file cannot read back.
        if (Trim(f.Name).empty()) continue;
        TTourneyFormat incoming = f;
        int at = index.Find(incoming.Name);
        if (at >= 0) {
            TMergeAnswer a = resolver.AskExisting(incoming.Name, index.Proposal(f.Name));
            if (a.Choice == TMergeChoice::Cancel) return false;
            if (a.Choice == TMergeChoice::Skip ||
                (a.Choice == TMergeChoice::Rename && Trim(a.NewName).empty()))
                continue;
            if (a.Choice == TMergeChoice::Rename) {
                incoming.Name = a.NewName;
                // A name the host typed that exists too is overwritten unasked.
                at = index.Find(incoming.Name);
            }
        }
        if (at >= 0) {
            index.Rename(formats[static_cast<size_t>(at)].Name, incoming.Name, at);
            formats[static_cast<size_t>(at)] = std::move(incoming);
        } else {
            index.Add(incoming.Name, static_cast<int>(formats.size()));
            formats.push_back(std::move(incoming));
        }
    }
    WriteFormatsFile(formatsPath, formats);
    return true;
}

std::vector<TImportedFormat> ImportableFormats(const std::vector<std::string>& paths) {
    std::vector<TImportedFormat> out;
    for (const auto& path : paths) {
        std::string label = std::filesystem::path(path).stem().string();
        for (auto& f : ReadFormatsFile(path))
            if (!Trim(f.Name).empty()) out.push_back({std::move(f), label});
    }
    return out;
}

}  // namespace kestrova
