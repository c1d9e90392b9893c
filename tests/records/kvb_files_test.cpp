// Tournament files of every readable version, kept as bytes in tests/data/kvb
// (see its README): each opens into the state its dump (.json) holds, saves
// and opens again into the same state, and the damaged copies listed in
// damaged.txt are refused, or read as noted, leaving the open tournament as
// it was.
#include <gtest/gtest.h>

#include <filesystem>

#include "engine/tourney_file.h"
#include "fakes/case_file.h"
#include "fakes/fake_ports.h"
#include "records/tourney_dump.h"

namespace kestrova::testing {
namespace {

const std::string kOpenError =
    "An error was encountered opening the file with the error message:\r\n\r\n";

std::string Golden(const std::string& name) { return ReadFileBytes(DataPath("kvb/" + name)); }

struct Opened {
    TempDir Dir;
    FakeWorld World;
    TTourneyState S;
    int Version = 0;
    Opened() { World.Wire(S); }
    bool Read(const std::string& name, const std::string& bytes) {
        WriteFileBytes(Dir.File(name), bytes);
        Version = TourneyFileVersion(Dir.File(name));
        return ReadTourney(S, Dir.File(name));
    }
    // The dump, one table or round a line, with the folder written as "$DIR/".
    std::string Dump() const {
        std::string d = DumpTourneyJson(S, Version), folder;
        for (char c : Dir.Path()) folder += c == '\\' ? std::string("\\\\") : std::string(1, c);  // as JSON writes it
        for (size_t at; (at = d.find(folder)) != std::string::npos;) d.replace(at, folder.size(), "$DIR/");
        for (size_t at = 0; (at = d.find("},{", at)) != std::string::npos; at += 3)
            d.insert(at + 2, "\n");
        return d;
    }
};

std::vector<std::string> GoldenFiles() {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(DataPath("kvb")))
        if (e.path().extension() == ".kvb") names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

TEST(KvbFiles, EachOpensIntoItsDumpAndSavesIntoTheSameState) {
    ASSERT_EQ(GoldenFiles().size(), 13u);
    for (const std::string& name : GoldenFiles()) {
        SCOPED_TRACE(name);
        // Opened over another tournament, so that nothing of it may stay.
        Opened o;
        const char* other = name == "v10_team_triple.kvb" ? "v9_double.kvb" : "v10_team_triple.kvb";
        ASSERT_TRUE(o.Read("other.kvb", Golden(other)));
        o.World.Dialogs.Messages.clear();
        ASSERT_TRUE(o.Read(name, Golden(name)));
        EXPECT_TRUE(o.World.Dialogs.Messages.empty());
        EXPECT_TRUE(o.World.View.Called("signup-state"));
        const std::string dump = o.Dump();
        ExpectGolden("kvb/" + name.substr(0, name.size() - 4) + ".json", dump);

        // Its finals are seated by hand behind rounds whose counts read as 0,
        // and a save keeps only the tables in use.
        if (name == "v9_triple_finals.kvb") continue;
        o.S.TourneyPath = o.Dir.File("saved.kvb");
        ASSERT_TRUE(SaveTourney(o.S));
        Opened again;
        ASSERT_TRUE(again.Read(name, ReadFileBytes(o.Dir.File("saved.kvb"))));
        // The rounds past the finals are not kept in the file.
        auto body = [](const std::string& d) {
            const size_t from = d.find("\"header\"");
            return d.substr(from, d.find("\"brackets\"") - from);
        };
        EXPECT_EQ(body(again.Dump()), body(dump));
    }
}

// "OFFSET:HEX" writes bytes at an offset, "size:N" cuts the file.
std::string Damaged(std::string bytes, const std::string& edits) {
    std::istringstream in(edits);
    for (std::string edit; in >> edit;) {
        const size_t colon = edit.find(':');
        const std::string at = edit.substr(0, colon), hex = edit.substr(colon + 1);
        if (at == "size") {
            bytes.resize(std::stoul(hex));
            continue;
        }
        for (size_t i = 0; i < hex.size(); i += 2)
            bytes.at(std::stoul(at) + i / 2) = static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
    }
    return bytes;
}

TEST(KvbFiles, DamagedCopiesAreRefusedOrReadAsNoted) {
    Opened o;  // a tournament is open and saved; its backup holds the previous save
    ASSERT_TRUE(o.Read("good.kvb", Golden("v9_double.kvb")));
    ASSERT_TRUE(SaveTourney(o.S));
    int copies = 0;
    for (const TCase& c : ReadCases("kvb/damaged.txt")) {
        for (const auto& [what, value] : c.Fields) {
            SCOPED_TRACE(c.Title + ": " + what);
            ++copies;
            const size_t arrow = value.find(" -> ");
            const std::string bytes = Damaged(Golden(c.Title), value.substr(0, arrow));
            const std::string outcome = value.substr(arrow + 4);
            if (outcome != "refused") {
                Opened fresh;
                ASSERT_TRUE(fresh.Read("copy.kvb", bytes));
                EXPECT_NE(DumpTourneyJson(fresh.S).find(outcome), std::string::npos);
                continue;
            }
            const std::string before = DumpTourneyJson(o.S);
            o.World.Dialogs.Messages.clear();
            o.S.SkipBackup = false;
            EXPECT_FALSE(o.Read("bad.kvb", bytes));
            EXPECT_EQ(DumpTourneyJson(o.S), before);
            EXPECT_TRUE(o.S.SkipBackup);
            EXPECT_EQ(o.World.Dialogs.Messages, std::vector<std::string>{kOpenError + "Operation aborted"});
        }
    }
    EXPECT_EQ(copies, 59);
}

}  // namespace
}  // namespace kestrova::testing
