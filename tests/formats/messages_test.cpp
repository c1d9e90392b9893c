#include "formats/messages.h"

#include <gtest/gtest.h>

#include "fakes/fake_ports.h"
#include "engine/format_store.h"

namespace kestrova {
namespace {

using testing::FakeWorld;
using testing::TempDir;

class UtcClock : public testing::FakeClock {
  public:
    TDateTime Utc = EncodeDateTime(2026, 12, 6, 1, 5, 0);
    TDateTime UtcNow() override { return Utc; }
};

class MessagesTest : public ::testing::Test {
  protected:
    TempDir dir;
    FakeWorld world;
    UtcClock clock;
    TTourneyState s;
    TMsgParams m;

    MessagesTest() {
        world.Wire(s);
        s.Ports.Clock = &clock;
        clock.Time = EncodeDateTime(2026, 12, 5, 20, 5, 0);
        s.TourneyPath = dir.File("t.kvb");
        s.Settings.FilesFolder = dir.Path();
        m.PlayerName = "Ann";
        m.OpponentName = "Bob";
        m.TableNo = 51;
        m.RoundIndex = 2;
        m.MatchPoints = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15};
        m.TimeLimits = {30, 31, 32, 33, 34, 35, 36, 37, 38, 39, 40, 41, 42, 43, 44};
        m.StartTime = "9 PM";
        m.RulesTime = "8:55";
        m.HostName = "Hosta";
        m.CoHostName = "Cohen";
        m.BootSecondsLeft = 420;
        m.MinutesLeft = 12;
    }
    std::string X(std::string_view t) { return ExpandMessage(s, t, m); }

    TPlayer* Add(const std::string& name) {
        s.Players.push_back(std::make_unique<TPlayer>());
        s.Players.back()->Name = name;
        return s.Players.back().get();
    }
    // Seats two players at the first tables of a round and records a result.
    void Play(TBracket& b, int round, int table, TPlayer* a, TPlayer* c, int result) {
        TTableRec& t = b[static_cast<size_t>(round)].Tables[static_cast<size_t>(table)];
        t.Seat = {a, c};
        t.Result = result;
    }
};

TEST_F(MessagesTest, EveryTokenOfTheParameters) {
    struct Case {
        const char* Template;
        const char* Want;
    } cases[] = {
        {"%p vs %o at #%t", "Ann vs Bob at #51"},
        {"%P vs %O", "Ann vs Bob"},
        {"%m/%f points, %d min", "3/15 points, 32 min"},
        {"%b left", "7:00 left"},
        {"%x minutes", "12 minutes"},
        {"%s %u %h %k", "9 PM 8:55 Hosta Cohen"},
        {"Time%n", "Time:05"},
        {"%l local, %g UTC", "8:05 PM local, 1:05 AM UTC"},
        {"%?", "Default"},
        {"a%cb", "a\r\nb"},
        {"%r", "Round 3"},
    };
    SelectFormat(s, "Default");
    for (const auto& c : cases)
        EXPECT_EQ(X(c.Template), c.Want) << c.Template;
    s.CapNames = true;
    EXPECT_EQ(X("%p/%o/%h"), "ANN/BOB/Hosta");
    m.BootSecondsLeft = 65;
    EXPECT_EQ(X("%B"), "1:05");
    m.RoundIndex = 15;  // beyond the final: no per-round value
    EXPECT_EQ(X("[%m][%d][%f]"), "[][][15]");
}

TEST_F(MessagesTest, ZoneClocksUseTheBiasesOfTheStatusBar) {
    s.MiddleZoneBias = 300;  // five hours behind local time
    s.RightZoneBias = -240;  // four hours ahead: past midnight
    EXPECT_EQ(X("%e|%w"), "3:05 PM|12:05 AM");
    EXPECT_EQ(X("%<|%>"), "12/5/2026|12/6/2026");
    s.Locale.ShortTimePattern = "hh:nn";
    s.Locale.ShortDatePattern = "dd.mm.yyyy";
    EXPECT_EQ(X("%l %>"), "20:05 06.12.2026");
}

TEST_F(MessagesTest, PercentSignsThatAreNoToken) {
    EXPECT_EQ(X("100%"), "100%");
    EXPECT_EQ(X("% p"), "% p");
    EXPECT_EQ(X("%%p"), "%Ann");
    EXPECT_EQ(X("%%"), "%%");
    EXPECT_EQ(X("%z %0 %4 %9 %\x95"), "%z %0 %4 %9 %\x95");
    EXPECT_EQ(X(""), "");
    EXPECT_EQ(X("%"), "%");
}

TEST_F(MessagesTest, InsertedTextIsNeverExpandedAgain) {
    m.StartTime = "%s%p%";
    m.PlayerName = "50%%o";
    EXPECT_EQ(X("%s|%p|%o"), "%s%p%|50%%o|Bob");
    // A user text is no printf format either.
    m.PlayerName = "%s%n%x";
    EXPECT_EQ(X("%p"), "%s%n%x");
}

TEST_F(MessagesTest, NoAutoPostMarkOnlyAtTheStart) {
    EXPECT_EQ(X("%!Closed %p"), "%!Closed Ann");
    EXPECT_EQ(X("a %! b"), "a  b");
    EXPECT_EQ(X("%!%!x"), "%!x");
    m.StartTime = "";
    EXPECT_EQ(X("%s%!y"), "%!y");  // nothing precedes it in the result
}

TEST_F(MessagesTest, RoundNames) {
    m.RoundIndex = 0;
    EXPECT_EQ(X("%r"), "Round 1");
    m.RoundIndex = 14;
    EXPECT_EQ(X("%r"), "the FINALS");
    m.RoundIndex = 13;
    EXPECT_EQ(X("%R"), "the SEMI-FINALS");

    s.ElimFormat = TElimFormat::Double;
    s.WinnersFinalRound = 5;
    EXPECT_EQ(MessageRoundName(s, 5, 10), "the WINNER'S FINALS");
    EXPECT_EQ(MessageRoundName(s, 5, 11), "Round 6");
    EXPECT_EQ(MessageRoundName(s, 4, 10), "Round 5");

    s.ElimFormat = TElimFormat::Triple;
    s.WinnersFinalRound = 5;
    s.OneLossFinalRound = 7;
    s.TwoLossFinalRound = 8;
    EXPECT_EQ(MessageRoundName(s, 5, 149), "the WINNER'S FINALS");  // 149 mod 4 = 1
    EXPECT_EQ(MessageRoundName(s, 5, 150), "Round 6");
    EXPECT_EQ(MessageRoundName(s, 7, 150), "the QUARTER FINALS");  // mod 4 = 2
    EXPECT_EQ(MessageRoundName(s, 8, 151), "the QUARTER FINALS");  // mod 4 = 3
    EXPECT_EQ(MessageRoundName(s, 8, 148), "Round 9");
}

TEST_F(MessagesTest, PlacesByEliminationKind) {
    TPlayer* a = Add("Ace");
    TPlayer* b = Add("Bee");
    TPlayer* c = Add("Cat");
    TPlayer* d = Add("Dog");
    s.ElimFormat = TElimFormat::Single;
    s.WinnersFinalRound = 2;
    s.GrandFinalRound = 3;
    EXPECT_EQ(X("[%1][%2][%3]"), "[][][]");
    Play(s.Winners, 2, 1, c, d, 1);  // only the second semi-final decided
    EXPECT_EQ(X("%3"), "Dog");
    Play(s.Winners, 2, 0, a, b, 2);
    EXPECT_EQ(X("%3"), "Ace and Dog");
    Play(s.Winners, 2, 0, a, nullptr, 1);  // a bye: its loser seat is empty
    EXPECT_EQ(X("%3"), "Dog");
    Play(s.Winners, 3, 0, b, c, 4);  // both quit: no winner, no runner-up
    EXPECT_EQ(X("[%1][%2]"), "[][]");
    Play(s.Winners, 3, 0, b, c, 2);
    EXPECT_EQ(X("[%1][%2]"), "[Cat][Bee]");

    s.ElimFormat = TElimFormat::Double;
    s.OneLossFinalRound = 4;
    s.OneLossLastRound = 5;
    EXPECT_EQ(X("%3"), "");
    Play(s.OneLoss, 4, 0, a, d, 1);
    EXPECT_EQ(X("%3"), "Dog");
    s.ElimFormat = TElimFormat::Triple;
    EXPECT_EQ(X("%3"), "");
    Play(s.OneLoss, 5, 0, a, b, 2);
    EXPECT_EQ(X("%3"), "Ace");

    // Out-of-range markers read nothing rather than past the brackets.
    s.GrandFinalRound = 99;
    s.OneLossLastRound = -1;
    EXPECT_EQ(X("[%1][%2][%3]"), "[][][]");
}

TEST_F(MessagesTest, HugeTemplatesExpandInOnePass) {
    std::string t;
    for (int i = 0; i < 100000; ++i)
        t += "%p%%s%!%Z";
    m.PlayerName = "Pl";
    m.StartTime = "%s";
    std::string out = X(t);
    EXPECT_EQ(out.size(), 100000u * 7);
    EXPECT_EQ(out.substr(0, 14), "Pl%%s%ZPl%%s%Z");
    std::string pct(200000, '%');
    EXPECT_EQ(X(pct), pct);
}

}  // namespace
}  // namespace kestrova
