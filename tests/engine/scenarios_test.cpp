// Every scenario of tests/data/engine, played by one runner.
#include <gtest/gtest.h>

#include <filesystem>

#include "engine/scenario_runner.h"

namespace kestrova {
namespace {

using namespace testing;

class ScenarioFile : public ::testing::TestWithParam<std::string> {};

TEST_P(ScenarioFile, PlaysAsWorkedOutByHand) {
    const std::string path = std::string(KESTROVA_TEST_DATA) + "/engine/" + GetParam() + ".txt";
    const std::vector<TScenario> all = ReadScenarios(path);
    ASSERT_FALSE(all.empty()) << path;
    for (const TScenario& sc : all)
        PlayScenario(sc);
}

INSTANTIATE_TEST_SUITE_P(Tables, ScenarioFile, ::testing::Values("tables"));

INSTANTIATE_TEST_SUITE_P(Engine, ScenarioFile,
                         ::testing::Values("corrections", "finals", "results", "undo", "status",
                                           "signup"));

}  // namespace
}  // namespace kestrova
