#pragma once
// Plays host scenarios written as text: one action or expectation a line,
// scenarios headed by "== title". The vocabulary is in scenario_runner.cpp;
// the scenarios are in tests/data/engine.
#include <string>
#include <vector>

namespace kestrova::testing {

struct TScenario {
    std::string Title;
    std::vector<std::string> Lines;
    int FirstLine = 0;  // in its file, for failure messages
};

std::vector<TScenario> ReadScenarios(const std::string& path);
// Plays one scenario on a fresh tournament, reporting failures to GoogleTest.
void PlayScenario(const TScenario& sc);

}  // namespace kestrova::testing
