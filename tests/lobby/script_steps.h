#pragma once
// What the lobby runners share: lists shown as "A | B" ("(none)" when
// empty), and checks that see only what came since the same check last ran.
#include <map>
#include <string>
#include <vector>

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

}  // namespace kestrova::testing
