#include "fakes/case_file.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "fakes/fake_ports.h"

namespace kestrova::testing {

bool TCase::Has(std::string_view key) const {
    for (const auto& [k, v] : Fields)
        if (k == key) return true;
    return false;
}

std::string TCase::Get(std::string_view key, const std::string& otherwise) const {
    for (const auto& [k, v] : Fields)
        if (k == key) return v;
    return otherwise;
}

std::vector<std::string> TCase::All(std::string_view key) const {
    std::vector<std::string> out;
    for (const auto& [k, v] : Fields)
        if (k == key) out.push_back(v);
    return out;
}

std::string TCase::Where() const { return File + ":" + std::to_string(Line) + " " + Title; }

std::string DataPath(const std::string& name) { return std::string(KESTROVA_TEST_DATA) + "/" + name; }

std::pair<std::string, std::string> Arrow(const std::string& v) {
    if (v == "->") return {"", ""};
    if (v.rfind("-> ", 0) == 0) return {"", v.substr(3)};
    if (v.size() >= 3 && v.compare(v.size() - 3, 3, " ->") == 0) return {v.substr(0, v.size() - 3), ""};
    const size_t at = v.find(" -> ");
    EXPECT_NE(at, std::string::npos) << "no arrow in " << v;
    if (at == std::string::npos) return {v, ""};
    return {v.substr(0, at), v.substr(at + 4)};
}

std::string Unescape(std::string_view t) {
    std::string out;
    for (size_t i = 0; i < t.size(); ++i) {
        if (t[i] != '\\' || i + 1 == t.size()) {
            out += t[i];
            continue;
        }
        const char c = t[++i];
        if (c == 'x' && i + 2 < t.size()) {
            out += static_cast<char>(std::stoi(std::string(t.substr(i + 1, 2)), nullptr, 16));
            i += 2;
        } else {
            out += c == 'r' ? '\r' : c == 'n' ? '\n' : c == 't' ? '\t' : c == '0' ? '\0' : c == 's' ? ' ' : c;
        }
    }
    return out;
}

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> out;
    std::string line;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n') {
            line += text[i];
            continue;
        }
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        out.push_back(line);
        line.clear();
    }
    if (!line.empty()) out.push_back(line);
    return out;
}

std::string JoinLines(const std::vector<std::string>& lines, const std::string& end) {
    std::string out;
    for (const auto& l : lines) out += l + end;
    return out;
}

std::string CrLf(const std::string& block) {
    std::string out;
    for (char c : block) out += c == '\n' ? std::string("\r\n") : std::string(1, c);
    return block.empty() ? "" : out + "\r\n";
}

std::vector<TCase> ReadCases(const std::string& name) {
    std::vector<TCase> cases;
    const std::vector<std::string> lines = SplitLines(ReadFileBytes(DataPath(name)));
    EXPECT_FALSE(lines.empty()) << "no cases in " << name;
    for (size_t i = 0; i < lines.size(); ++i) {
        const std::string& l = lines[i];
        if (l.rfind("== ", 0) == 0) {
            cases.push_back({l.substr(3), static_cast<int>(i + 1), {}, name});
            continue;
        }
        if (l.empty() || l[0] == '#') continue;
        if (cases.empty()) ADD_FAILURE() << name << ":" << i + 1 << ": a field before any case";
        if (cases.empty()) continue;
        if (l.size() > 4 && l.compare(l.size() - 4, 4, " <<<") == 0) {
            std::vector<std::string> block;
            while (++i < lines.size() && lines[i] != ">>>") block.push_back(Unescape(lines[i]));
            std::string joined = JoinLines(block, "\n");
            if (!joined.empty()) joined.pop_back();
            cases.back().Fields.emplace_back(l.substr(0, l.size() - 4), joined);
            continue;
        }
        const size_t eq = l.find(" =");
        if (eq == std::string::npos) {  // a step without a value
            cases.back().Fields.emplace_back(l, "");
            continue;
        }
        const std::string value = eq + 3 <= l.size() ? l.substr(eq + 3) : "";
        cases.back().Fields.emplace_back(l.substr(0, eq), Unescape(value));
    }
    return cases;
}

void ExpectGolden(const std::string& name, const std::string& actual) {
    if (std::getenv("KESTROVA_WRITE_GOLDEN")) WriteFileBytes(DataPath(name), actual);
    const std::vector<std::string> want = SplitLines(ReadFileBytes(DataPath(name)));
    const std::vector<std::string> got = SplitLines(actual);
    for (size_t i = 0; i < std::max(want.size(), got.size()); ++i) {
        const std::string w = i < want.size() ? want[i] : "<end>";
        const std::string g = i < got.size() ? got[i] : "<end>";
        if (w != g) {
            ADD_FAILURE() << name << ":" << i + 1 << "\n  expected: " << w << "\n  actual:   " << g;
            return;
        }
    }
}

}  // namespace kestrova::testing
