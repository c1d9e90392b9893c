#pragma once
// What the lobby runners share: scripts played one case at a time, lists
// shown as "A | B" ("(none)" when empty), blocks as CR LF text, and checks
// that see only what came since the same check last ran.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "fakes/case_file.h"
#include "fakes/fake_ports.h"

namespace kestrova::testing {

inline std::vector<std::string> Split(const std::string& text, const std::string& by = " | ") {
    std::vector<std::string> out;
    for (size_t from = 0;;) {
        const size_t at = text.find(by, from);
        out.push_back(text.substr(from, at - from));
        if (at == std::string::npos) return out;
        from = at + by.size();
    }
}

inline std::string Joined(const std::vector<std::string>& items, size_t from = 0) {
    std::string out = from >= items.size() ? "(none)" : "";
    for (size_t i = from; i < items.size(); ++i)
        out += (i == from ? "" : " | ") + items[i];
    return out;
}

inline std::string YesNo(bool b) {
    return b ? "yes" : "no";
}
inline std::string OnOff(bool b) {
    return b ? "on" : "off";
}
// A file's bytes, "none" when there is no such file.
inline std::string FileOrNone(const std::string& path) {
    return std::filesystem::exists(path) ? ReadFileBytes(path) : "none";
}

class TSinceLast {
  public:
    std::string operator()(const std::string& check, const std::vector<std::string>& items) {
        size_t& from = seen_[check];
        const std::string out = Joined(items, from);
        from = items.size();
        return out;
    }

  private:
    std::map<std::string, size_t> seen_;
};

// A runner's vocabulary: actions, and checks whose text (given the step's
// value) must be that value.
using TAction = std::function<void(const std::string& value)>;
using TCheck = std::function<std::string(const std::string& value)>;
inline void RunStep(const std::map<std::string, TAction>& actions,
                    const std::map<std::string, TCheck>& checks, const std::string& key,
                    const std::string& value) {
    if (auto a = actions.find(key); a != actions.end())
        a->second(value);
    else if (auto c = checks.find(key); c != checks.end())
        EXPECT_EQ(c->second(value), value);
    else
        ADD_FAILURE() << "unknown step " << key;
}

// Plays each case of the case file `name` on a fresh T: SetUp, then
// T::Step(key, value) for every field in order, then TearDown.
template <class T>
void PlayScripts(const std::string& name) {
    for (const TCase& c : ReadCases(name)) {
        SCOPED_TRACE(c.Where());
        T script;
        script.SetUp();
        for (const auto& [key, value] : c.Fields) {
            SCOPED_TRACE(key + " = " + value);
            script.Step(key, value);
        }
        script.TearDown();
    }
}

}  // namespace kestrova::testing
