// Template expansion played from tests/data/formats/expansion.txt (the places
// %1 to %3 by elimination kind among them).
#include "formats/messages.h"

#include <gtest/gtest.h>

#include <sstream>

#include "engine/format_store.h"
#include "fakes/case_file.h"
#include "fakes/fake_ports.h"

namespace kestrova::testing {
namespace {

class UtcClock : public FakeClock {
  public:
    TDateTime Utc = EncodeDateTime(2026, 12, 6, 1, 5, 0);
    TDateTime UtcNow() override { return Utc; }
};

struct Expansion {
    TempDir Dir;
    FakeWorld World;
    UtcClock Clock;
    TTourneyState S;
    TMsgParams M;
    Expansion() {
        World.Wire(S);
        S.Ports.Clock = &Clock;
        Clock.Time = EncodeDateTime(2026, 12, 5, 20, 5, 0);
        S.TourneyPath = Dir.File("t.kvb");
        S.Settings.FilesFolder = Dir.Path();
        SelectFormat(S, "Default");
        M = {"Ann",
             "Bob",
             2,
             51,
             "9 PM",
             "8:55",
             "Hosta",
             "Cohen",
             420,
             12,
             {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15},
             {30, 31, 32, 33, 34, 35, 36, 37, 38, 39, 40, 41, 42, 43, 44}};
    }
    std::string X(std::string_view t) { return ExpandMessage(S, t, M); }
    TPlayer* Named(const std::string& name) {
        for (const auto& p : S.Players)
            if (p->Name == name) return p.get();
        return nullptr;
    }
    // "winners|one-loss ROUND TABLE PLAYER PLAYER RESULT", "-" for an empty seat.
    void Seat(const std::string& v) {
        std::istringstream words(v);
        std::string bracket, a, b;
        size_t round = 0, table = 0;
        int result = 0;
        words >> bracket >> round >> table >> a >> b >> result;
        TTableRec& t = (bracket == "winners" ? S.Winners : S.OneLoss)[round].Tables[table];
        t.Seat = {Named(a), Named(b)};
        t.Result = result;
    }
    // One field of a case: a value set, or a check.
    void Apply(const std::string& key, const std::string& v) {
        const TElimFormat elims[] = {TElimFormat::Single, TElimFormat::Double, TElimFormat::Triple};
        if (key == "expand") {
            const auto [t, want] = Arrow(v);
            EXPECT_EQ(X(t), want) << t;
        } else if (key == "round name") {
            const auto [at, want] = Arrow(v);
            const size_t blank = at.find(' ');
            EXPECT_EQ(
                MessageRoundName(S, std::stoi(at.substr(0, blank)), std::stoi(at.substr(blank))),
                want)
                << at;
        } else if (key == "player") {
            M.PlayerName = v;
        } else if (key == "start") {
            M.StartTime = v;
        } else if (key == "round") {
            M.RoundIndex = std::stoi(v);
        } else if (key == "boot seconds") {
            M.BootSecondsLeft = std::stoi(v);
        } else if (key == "cap names") {
            S.CapNames = v == "yes";
        } else if (key == "middle bias") {
            S.MiddleZoneBias = std::stod(v);
        } else if (key == "right bias") {
            S.RightZoneBias = std::stod(v);
        } else if (key == "short time") {
            S.Locale.ShortTimePattern = v;
        } else if (key == "short date") {
            S.Locale.ShortDatePattern = v;
        } else if (key == "elim") {
            S.ElimFormat = elims[v == "Single" ? 0 : v == "Double" ? 1 : 2];
        } else if (key == "winners final") {
            S.WinnersFinalRound = std::stoi(v);
        } else if (key == "one-loss final") {
            S.OneLossFinalRound = std::stoi(v);
        } else if (key == "grand final") {
            S.GrandFinalRound = std::stoi(v);
        } else if (key == "one-loss last") {
            S.OneLossLastRound = std::stoi(v);
        } else if (key == "entries") {
            std::istringstream names(v);
            for (std::string name; names >> name;) {
                S.Players.push_back(std::make_unique<TPlayer>());
                S.Players.back()->Name = name;
            }
        } else if (key == "seat") {
            Seat(v);
        } else if (key == "two-loss final") {
            S.TwoLossFinalRound = std::stoi(v);
        } else {
            ADD_FAILURE() << "unknown field " << key;
        }
    }
};

TEST(Messages, EachCaseExpandsAsWritten) {
    for (const TCase& c : ReadCases("formats/expansion.txt")) {
        SCOPED_TRACE(c.Where());
        Expansion e;
        for (const auto& [key, value] : c.Fields)
            e.Apply(key, value);
    }
}

}  // namespace
}  // namespace kestrova::testing
