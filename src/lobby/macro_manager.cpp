#include "lobby/macro_manager.h"

#include <algorithm>

#include "common/text.h"
#include "lobby/hot_key.h"

namespace kestrova {

namespace {
bool SameKey(const std::string& a, const std::string& b) {
    const auto ka = ParseHotKey(a), kb = ParseHotKey(b);
    if (ka && kb) return *ka == *kb;
    return SameText(a, b);
}

bool Reserved(const std::string& name) {
    return SameText(name, ToolbarSection) || SameText(name, HotKeysSection);
}
}  // namespace

void TMacroManager::Open(const std::string& fileName) {
    file_.Load(fileName);
    const auto index = file_.NameIndex();
    std::erase_if(file_.Toolbar,
                  [&](const TMacroBinding& b) { return !index.count(UpperCase(b.Macro)); });
}

TMacroEdit TMacroManager::EditOf(int i) const {
    const TMacro& m = file_.Macros.at(static_cast<size_t>(i));
    TMacroEdit e{m.Name, m.Lines, {}, false, {}};
    if (const std::string* key = file_.HotKeyOf(m.Name)) e.HotKey = *key;
    if (const std::string* caption = file_.CaptionOf(m.Name)) {
        e.Toolbar = true;
        e.Caption = *caption;
    }
    return e;
}

std::optional<TMacroRefusal> TMacroManager::Check(int editing, TMacroEdit& e) const {
    if (IsPlayerMacro(e.Lines)) {
        e.HotKey.clear();
        e.Toolbar = false;
    }
    e.Name = Trim(e.Name);
    if (e.Name.empty())
        return TMacroRefusal{TMacroField::Name,
                             "No name has been entered for the macro. Please enter a name for the macro."};
    auto other = [&](const std::string& name) {
        const int i = file_.IndexOf(name);
        return i >= 0 && i != editing;
    };
    if (other(e.Name) || Reserved(e.Name))
        return TMacroRefusal{TMacroField::Name,
                             "A macro with that name already exists, please alter the name."};
    for (const TMacroBinding& b : file_.HotKeys)
        if (!e.HotKey.empty() && SameKey(b.Text, e.HotKey) && other(b.Macro))
            return TMacroRefusal{TMacroField::HotKey,
                                 "A macro is already assigned to that hot-key. Please select another hot-key."};
    if (!e.Toolbar) return std::nullopt;
    e.Caption = Trim(e.Caption);
    if (e.Caption.empty()) e.Caption = e.Name;
    for (const TMacroBinding& b : file_.Toolbar)
        if (SameText(b.Text, e.Caption) && other(b.Macro))
            return TMacroRefusal{TMacroField::Caption,
                                 "A macro with that toolbar name already exists. Please enter another name."};
    return std::nullopt;
}

void TMacroManager::DropBindings(const std::string& name) {
    auto named = [&](const TMacroBinding& b) { return SameText(b.Macro, name); };
    std::erase_if(file_.Toolbar, named);
    std::erase_if(file_.HotKeys, named);
}

void TMacroManager::SetBindings(const TMacroEdit& e) {
    if (e.Toolbar) file_.Toolbar.push_back({e.Name, e.Caption});
    if (!e.HotKey.empty()) file_.HotKeys.push_back({e.Name, e.HotKey});
}

int TMacroManager::Add(const TMacroEdit& e) {
    file_.Macros.push_back({e.Name, e.Lines});
    SetBindings(e);
    return Count() - 1;
}

void TMacroManager::Replace(int i, const TMacroEdit& e) {
    TMacro& m = file_.Macros.at(static_cast<size_t>(i));
    DropBindings(m.Name);
    m = {e.Name, e.Lines};
    SetBindings(e);
}

void TMacroManager::Delete(int i) {
    DropBindings(Name(i));
    file_.Macros.erase(file_.Macros.begin() + i);
}

int TMacroManager::Copy(int i) {
    const TMacro source = file_.Macros.at(static_cast<size_t>(i));
    std::string name = "Copy of " + source.Name;
    for (int n = 1; file_.IndexOf(name) >= 0; ++n)
        name = Format("Copy of %s %d", source.Name.c_str(), n);
    file_.Macros.push_back({name, source.Lines});
    return Count() - 1;
}

bool TMacroManager::Move(int from, int to) {
    if (from < 0 || to < 0 || from >= Count() || to >= Count()) return false;
    auto& m = file_.Macros;
    if (from < to)
        std::rotate(m.begin() + from, m.begin() + from + 1, m.begin() + to + 1);
    else
        std::rotate(m.begin() + to, m.begin() + from, m.begin() + from + 1);
    return true;
}

void TMacroManager::Sort() {
    std::stable_sort(file_.Macros.begin(), file_.Macros.end(), [](const TMacro& a, const TMacro& b) {
        return CompareText(a.Name, b.Name) < 0;
    });
}

void TMacroManager::Save(const std::string& fileName) {
    file_.TidyToolbar();
    file_.Save(fileName);
}

}  // namespace kestrova
