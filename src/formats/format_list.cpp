#include "formats/format_list.h"

#include <algorithm>

#include "common/text.h"
#include "formats/format_defaults.h"
#include "formats/format_merge.h"
#include "formats/message_file.h"

namespace kestrova {

namespace {
const char* const kDefault = "Default";

bool ByName(const TTourneyFormat& a, const TTourneyFormat& b) {
    const int c = CompareText(a.Name, b.Name);
    return c != 0 ? c < 0 : a.Name < b.Name;
}
}  // namespace

void TFormatList::Load(const std::string& formatsPath) {
    TMessageFile file(formatsPath);
    file.Load();
    entries_.clear();
    entries_.reserve(static_cast<size_t>(file.Count()) + 1);
    entries_.push_back({kDefault, DefaultFormatLines()});
    for (int i = 0; i < file.Count(); ++i)
        if (!SameText(file.Name(i), kDefault)) entries_.push_back({file.Name(i), file.Lines(i)});
    Sort({});
}

std::vector<std::string> TFormatList::Names() const {
    std::vector<std::string> names;
    names.reserve(entries_.size());
    for (const auto& e : entries_)
        names.push_back(e.Name);
    return names;
}

bool TFormatList::IsDefault(int i) const {
    return SameText(At(i).Name, kDefault);
}

TFormatButtons TFormatList::ButtonsFor(const std::vector<int>& selected) const {
    TFormatButtons b;
    const bool any = !selected.empty();
    const bool one = selected.size() == 1;
    const bool hasDefault =
        std::any_of(selected.begin(), selected.end(), [this](int i) { return IsDefault(i); });
    b.Export = any;
    b.Delete = any && !hasDefault;
    b.Copy = one;
    b.Edit = one && !hasDefault;
    return b;
}

int TFormatList::Add(TTourneyFormat format) {
    std::string name = format.Name;
    entries_.push_back(std::move(format));
    return Sort(name);
}

int TFormatList::Replace(int i, TTourneyFormat format) {
    TTourneyFormat& e = entries_.at(static_cast<size_t>(i));
    if (!CurrentName.empty() && SameText(e.Name, CurrentName)) CurrentName = format.Name;
    std::string name = format.Name;
    e = std::move(format);
    return Sort(name);
}

int TFormatList::Copy(int i) {
    TTourneyFormat copy = At(i);
    const std::string base = "Copy of " + copy.Name;
    std::string name = base;
    for (int n = 1; IndexOf(name) >= 0; ++n)
        name = Format("%s %d", base.c_str(), n);
    copy.Name = name;
    return Add(std::move(copy));
}

void TFormatList::Delete(std::vector<int> rows) {
    std::sort(rows.begin(), rows.end(), std::greater<>());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    for (int i : rows) {
        if (IsDefault(i)) continue;
        if (SameText(At(i).Name, CurrentName)) CurrentName.clear();
        entries_.erase(entries_.begin() + i);
    }
}

std::vector<TTourneyFormat> TFormatList::Selected(const std::vector<int>& rows) const {
    std::vector<TTourneyFormat> out;
    for (int i : rows)
        out.push_back(At(i));
    return out;
}

void TFormatList::Save(const std::string& formatsPath) const {
    std::vector<TTourneyFormat> stored;
    stored.reserve(entries_.size());
    for (int i = 0; i < Count(); ++i)
        if (!IsDefault(i)) stored.push_back(At(i));
    WriteFormatsFile(formatsPath, stored);
}

int TFormatList::Sort(const std::string& keep) {
    std::stable_sort(entries_.begin(), entries_.end(), ByName);
    return IndexOf(keep);
}

int TFormatList::IndexOf(const std::string& name) const {
    for (int i = 0; i < Count(); ++i)
        if (SameText(At(i).Name, name)) return i;
    return -1;
}

}  // namespace kestrova
