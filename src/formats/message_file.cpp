#include "formats/message_file.h"

#include "common/file_util.h"
#include "common/text.h"

namespace kestrova {

namespace {
// Calls f for every line of the text; CR LF, LF and a lone CR all end a line.
template <typename F>
void ForEachLine(std::string_view text, F&& f) {
    size_t start = 0;
    const size_t n = text.size();
    for (size_t i = 0; i < n; ++i) {
        char c = text[i];
        if (c != '\r' && c != '\n') continue;
        f(text.substr(start, i - start));
        if (c == '\r' && i + 1 < n && text[i + 1] == '\n') ++i;
        start = i + 1;
    }
    if (start < n) f(text.substr(start));
}

std::string HeaderName(const std::string& line) {
    size_t close = line.find(']', 1);
    return close == std::string::npos ? line.substr(1) : line.substr(1, close - 1);
}
}  // namespace

bool TMessageFile::Load() {
    Clear();
    auto bytes = ReadWholeFile(FileName);
    if (!bytes) return false;
    LoadFromText(*bytes);
    return true;
}

void TMessageFile::LoadFromText(std::string_view bytes) {
    Clear();
    // Where the lines of the block being read go: null before the first header
    // and inside a repeated section, whose lines are dropped.
    std::vector<std::string>* current = nullptr;
    ForEachLine(bytes, [&](std::string_view raw) {
        std::string line = Trim(raw);
        if (line.size() < 3) return;
        if (line[0] == '[') {
            std::string name = HeaderName(line);
            current = nullptr;
            if (IndexOf(name) < 0) {
                AddSection(name, {});
                current = &sections_.back().Lines;
            }
            return;
        }
        if (current) current->push_back(std::move(line));
    });
}

std::string TMessageFile::SaveToText() const {
    std::string out;
    for (const auto& sec : sections_) {
        out += '[';
        out += sec.Name;
        out += "]\r\n";
        for (const auto& line : sec.Lines) {
            out += line;
            out += "\r\n";
        }
        out += "\r\n";
    }
    return out;
}

bool TMessageFile::Save() const {
    WriteFileAtomically(FileName, SaveToText());
    return true;
}

int TMessageFile::IndexOf(std::string_view name) const {
    auto it = index_.find(UpperCase(name));
    return it == index_.end() ? -1 : it->second;
}

const std::vector<std::string>* TMessageFile::Find(std::string_view name) const {
    int i = IndexOf(name);
    return i < 0 ? nullptr : &sections_[static_cast<size_t>(i)].Lines;
}

bool TMessageFile::AddSection(const std::string& name, const std::vector<std::string>& lines) {
    if (IndexOf(name) >= 0) return false;
    index_.emplace(UpperCase(name), Count());
    sections_.push_back({name, lines});
    return true;
}

bool TMessageFile::Rename(int i, const std::string& name) {
    int other = IndexOf(name);
    if (i < 0 || i >= Count() || (other >= 0 && other != i)) return false;
    auto& sec = sections_[static_cast<size_t>(i)];
    index_.erase(UpperCase(sec.Name));
    sec.Name = name;
    index_.emplace(UpperCase(name), i);
    return true;
}

void TMessageFile::Clear() {
    sections_.clear();
    index_.clear();
}

}  // namespace kestrova
