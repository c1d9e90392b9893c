// The three reports, compared byte for byte with texts worked out by hand.
#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/resource.h>

#include <csignal>
#endif

#include "common/file_util.h"

#include "common/text.h"
#include "engine/points.h"
#include "engine/report_play.h"
#include "engine/reports.h"
#include "engine/status.h"

namespace kestrova {
namespace {

using namespace testing;

std::vector<std::string> Names(int n) {
    std::vector<std::string> v;
    for (int i = 0; i < n; ++i) v.push_back(Format("P%03d", i + 1));
    return v;
}

#ifndef _WIN32
// Runs `write` with the process's file size limit set to `bytes` (writes
// past it fail as on a full disk), then lifts the limit again.
template <class F>
void WriteWithFileSizeLimit(F write, rlim_t bytes) {
    rlimit old{};
    ::getrlimit(RLIMIT_FSIZE, &old);
    auto handler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = old;
    small.rlim_cur = bytes;
    ::setrlimit(RLIMIT_FSIZE, &small);
    struct Restore {
        rlimit Old;
        void (*Handler)(int);
        ~Restore() {
            ::setrlimit(RLIMIT_FSIZE, &Old);
            std::signal(SIGXFSZ, Handler);
        }
    } restore{old, handler};
    write();
}
#endif

class ReportsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        world.Wire(s);
        s.TourneyPath = dir.File("t.kvb");
        s.Locale.LongTimePattern = "h:nn:ss AM/PM";
    }
    TempDir dir;
    FakeWorld world;
    TTourneyState s;
};

// The text with CR LF line ends and this build's version for "@VERSION@".
std::string Crlf(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '\n') out += '\r';
        out += c;
    }
    for (size_t at; (at = out.find("@VERSION@")) != std::string::npos;)
        out.replace(at, 9, ProgramVersion());
    return out;
}

// Single, 8 entries, the first signed up always winning (P1 beats P2, P3,
// P5; P5 beats P6, P7; P3 beats P4; P7 beats P8). Round 1 at tables 50-53,
// the semi-finals at the semi-final start table 148, the final at 150. A
// table starts when it fills; one result every three minutes from 20:08.
const char* const kSingle8Text = R"(KVB Version @VERSION@
Tournament:  Friday "Fast", Hearts
Date:  12/05/2026
Time:  8:00 PM ET
Host:  Morgan (MorganPlays)
Co-host:  Dee (DeeDee)
Number of Players:  8

Round 1
-------
Table  50:            P001 - W
                      P002 - L

Table  51:            P003 - W
                      P004 - L

Table  52:            P005 - W
                      P006 - L

Table  53:            P007 - W
                      P008 - L

Semi-Final
----------
Table 148:            P001 - W
                      P003 - L

Table 149:            P005 - W
                      P007 - L

Final
-----
Table 150:            P001 - W   Email: first@example.org
                      P005 - L   Email: second@example.org

)";

// Match points of "3 pt (5 pt final)": 3 up to the semi-finals, 5 the final.
const char* const kSingle8Csv = R"(KVB Version,@VERSION@
Tournament,"Friday ""Fast"", Hearts"
Date,12/05/2026
Time,"8:00 PM ET"
Host,"Morgan",MorganPlays
Co-host,"Dee",DeeDee
Number of Players,8

Winners Bracket
Round,Table,Points,Winner,Loser,Started,Duration,Finished
1,50,3,P001,P002,20:00:00,8,20:08:00
1,51,3,P003,P004,20:00:00,11,20:11:00
1,52,3,P005,P006,20:00:00,14,20:14:00
1,53,3,P007,P008,20:00:00,17,20:17:00
SF,148,3,P001,P003,20:11:00,9,20:20:00
SF,149,3,P005,P007,20:17:00,6,20:23:00
GF,150,5,P001,P005,20:23:00,3,20:26:00
)";

// Default player points: 2 a win, 17 the final; 5 for losing a semi-final,
// 10 the final. P1 2+2+17, P5 2+2+10, P3 and P7 2+5. Host 5, co-host 3.
const char* const kSingle8Results = R"(Tarvex's Kestrova Tool Version @VERSION@
Tournament:  Friday "Fast", Hearts
Date:  12/05/2026
Day:  Saturday
Scheduled Start:  8:00 PM ET
Actual Start:  8:00:00 PM
Closed:  8:05:00 PM
Host:  Morgan (MorganPlays)
Co-host:  Dee (DeeDee)
Number of Players:  8

1st place:  P001
1st place email:  first@example.org
2nd place:  P005
2nd place email:  second@example.org
3rd place:  P003
3rd place email:  third@example.org
3rd place:  P007
3rd place email:  

START POINTS
7 P003
7 P007
14 P005
21 P001
MorganPlays 5
DeeDee 3
STOP POINTS

PLAYER STATISTICS (can be imported into Excel):
Name, Wins, Losses, Byes, Boots, Booted, DQed
P001, 3, 0, 0, 0, N, N
P002, 0, 1, 0, 0, N, N
P003, 1, 1, 0, 0, N, N
P004, 0, 1, 0, 0, N, N
P005, 2, 1, 0, 0, N, N
P006, 0, 1, 0, 0, N, N
P007, 1, 1, 0, 2, Y, N
P008, 0, 1, 0, 0, N, Y
)";

TEST_F(ReportsTest, SingleEightAsWorkedByHand) {
    PlayKnownTourney(s, world, TElimFormat::Single, Names(8), 0);
    SetReportTexts(s);
    s.HostPoints = 5;
    s.CoHostPoints = 3;
    s.Players[6]->BootCount = 2;
    s.Players[6]->BootedOut = true;
    s.Players[7]->Disqualified = true;
    UpdatePlayerState(s);
    world.Dialogs.Asked.clear();
    EXPECT_EQ(JoinReportLines(BuildTextReport(s)), Crlf(kSingle8Text));
    EXPECT_EQ(JoinReportLines(BuildCsvReport(s)), Crlf(kSingle8Csv));
    TReportLines lines;
    ASSERT_TRUE(BuildResultsReport(s, lines));
    EXPECT_EQ(JoinReportLines(lines), Crlf(kSingle8Results));
    EXPECT_TRUE(world.Dialogs.Asked.empty());  // the first-game question is Double's
    // Unscheduled hosts take the other pair; a host without a player name gets nothing.
    s.UnscheduledHost = true;
    s.UnscheduleHostPoints = 9;
    s.CoHostPlayerName.clear();
    ASSERT_TRUE(BuildResultsReport(s, lines));
    const std::string text = JoinReportLines(lines);
    EXPECT_NE(text.find("21 P001\r\nMorganPlays 9\r\nSTOP POINTS\r\n"), std::string::npos);
}

// Single, 15 entries: P015 ("Bob") has the bye table of round 1.
TEST_F(ReportsTest, ByeLineOpenAndBothQuitTablesAndUnfinishedRows) {
    auto names = Names(15);
    names[14] = "Bob";
    PlayKnownTourney(s, world, TElimFormat::Single, names, 0, 10);
    TTableRec& bye = s.Winners[0].Tables[7];
    ASSERT_EQ(bye.Seat[0]->Name, "Bob");
    ASSERT_EQ(bye.Result, 1);
    bye.TableNo = 7;
    s.Winners[0].Tables[0].Result = 4;  // both quit: listed nowhere
    s.Winners[0].Tables[1].EndTime = 0;  // decided but not finished
    const std::string text = JoinReportLines(BuildTextReport(s));
    EXPECT_NE(text.find("\r\nTable   7:             Bob - B\r\n\r\n"), std::string::npos);
    EXPECT_EQ(text.find("Table  50:"), std::string::npos);
    EXPECT_EQ(text.find("\r\nFinal\r\n"), std::string::npos);  // the final is open
    EXPECT_EQ(text.find("Winner's Bracket"), std::string::npos);
    const std::string csv = JoinReportLines(BuildCsvReport(s));
    EXPECT_NE(csv.find("\r\n1,51,3,P003,P004,20:00:00,,\r\n"), std::string::npos);
    // A bye is never timed: Started, Duration and Finished stay empty.
    EXPECT_NE(csv.find("\r\n1,7,3,Bob,,,,\r\n"), std::string::npos) << csv;
    EXPECT_EQ(csv.find(",50,"), std::string::npos);
    // Second-round tables that filled but have no result are not rows either.
    for (int i = 0; i < s.Winners[1].TableCount; ++i) {
        if (s.Winners[1].Tables[i].Result != 0) continue;
        EXPECT_EQ(csv.find(Format(",%d,", s.Winners[1].Tables[i].TableNo)), std::string::npos);
    }
}

TEST_F(ReportsTest, NamesAtTheirLongestHighBytesCommasAndQuotesPassThroughUncut) {
    const std::string longest = "Abcdefghijklm\xE9\xFF";  // 15 bytes
    const std::string team = "Teammate_numb1/Second\x80mate_1234";  // 31 bytes
    ASSERT_EQ(longest.size(), 15u);
    ASSERT_EQ(team.size(), 31u);
    auto names = Names(8);
    names[0] = longest;
    names[1] = team;
    PlayKnownTourney(s, world, TElimFormat::Single, names, 0);
    s.Players[2]->Name = "Com,ma\"Quote";  // only a hostile file holds such a name
    s.CurrentFormat = "A,\"B\"";
    s.MsgParams.StartTime = "8 \"sharp\"";
    const std::string text = JoinReportLines(BuildTextReport(s));
    EXPECT_NE(text.find("Table  50: " + longest + " - W\r\n           " + team + " - L\r\n"),
              std::string::npos);
    EXPECT_NE(text.find("Tournament:  A,\"B\"\r\n"), std::string::npos);
    const std::string csv = JoinReportLines(BuildCsvReport(s));
    EXPECT_NE(csv.find("Tournament,\"A,\"\"B\"\"\"\r\n"), std::string::npos);
    EXPECT_NE(csv.find("Time,\"8 \"\"sharp\"\"\"\r\n"), std::string::npos);
    EXPECT_NE(csv.find("1,50,3," + longest + "," + team + ",20:00:00,8,20:08:00\r\n"),
              std::string::npos);
    EXPECT_NE(csv.find("SF,148,3," + longest + ",Com,ma\"Quote,"), std::string::npos);
    TReportLines lines;
    ASSERT_TRUE(BuildResultsReport(s, lines));
    EXPECT_NE(JoinReportLines(lines).find("\r\n" + team + ", 0, 1, 0, 0, N, N\r\n"),
              std::string::npos);
}

TEST_F(ReportsTest, ResultsReportIsRefusedBeforeTheStartAndWritesNothing) {
    const std::string path = dir.File("points.txt");
    EXPECT_FALSE(WriteResultsReport(s, path));
    EXPECT_EQ(world.Dialogs.Messages,
              std::vector<std::string>{"Points cannot be generated until the tourney has been started"});
    EXPECT_FALSE(ReadFileIfExists(path).has_value());
    EXPECT_FALSE(SaveAsType(s, path, TSaveAsType::ResultsReport));
    // The exports need no start.
    EXPECT_TRUE(SaveAsType(s, path, TSaveAsType::TextExport));
    EXPECT_NE(ReadFileBytes(path).find("Number of Players:  0\r\n"), std::string::npos);
}

// Double, 8 entries: P1 wins the winners' bracket and the grand final
// against the one-loss champion, who may have won the first game.
TEST_F(ReportsTest, FirstGameQuestionAndAlphabeticalOrderAfterwards) {
    auto names = Names(8);
    names[4] = "zed";
    names[5] = "Amy";
    PlayKnownTourney(s, world, TElimFormat::Double, names, 0);
    ASSERT_TRUE(GrandFinalDecided(s));
    const TPlayer* champion = s.OneLoss[s.OneLossFinalRound].Tables[0].Winner();
    ASSERT_EQ(s.Winners[s.GrandFinalRound].Tables[0].Loser(), champion);
    ASSERT_FALSE(s.UndoList.empty());
    const std::string question = "Did \"" + champion->Name +
                                 "\" (the winner of the loser's bracket) win the first game in the final?";
    const std::string plain = Format("%d ", champion->Points) + champion->Name + "\r\n";
    struct Case {
        int32_t Bonus;
        bool Double, Answer, Asked;
        int Added;
    };
    const Case cases[] = {{0, false, true, false, 0},
                          {4, false, false, true, 0},
                          {4, false, true, true, 4},
                          {4, true, true, true, 8}};
    for (const Case& c : cases) {
        s.FirstMatchWinPoints = c.Bonus;
        s.DoublePlayerPoints = c.Double;
        UpdatePlayerState(s);
        world.Dialogs.Asked.clear();
        world.Dialogs.YesNoAnswers = {c.Answer};
        TReportLines lines;
        ASSERT_TRUE(BuildResultsReport(s, lines));
        EXPECT_EQ(world.Dialogs.Asked, c.Asked ? std::vector<std::string>{question}
                                               : std::vector<std::string>{});
        const std::string line = Format("%d ", champion->Points + c.Added) + champion->Name + "\r\n";
        EXPECT_NE(JoinReportLines(lines).find("\r\n" + line), std::string::npos) << c.Added;
    }
    (void)plain;
    std::vector<std::string> order;
    for (const auto& p : s.Players) order.push_back(p->Name);
    EXPECT_EQ(order, (std::vector<std::string>{"Amy", "P001", "P002", "P003", "P004", "P007",
                                               "P008", "zed"}));
    // Undo restores entries by position: its stacks went with the old order.
    EXPECT_TRUE(s.UndoList.empty());
}

// A report that cannot be written leaves the older one as it was.
TEST_F(ReportsTest, AFailedWriteKeepsTheOlderReport) {
    PlayKnownTourney(s, world, TElimFormat::Single, Names(8), 0);
    const std::string path = dir.File("export.csv");
    WriteCsvReport(s, path);
    const std::string older = ReadFileBytes(path);
    EXPECT_THROW(WriteCsvReport(s, dir.File("gone/export.csv")), std::runtime_error);
#ifndef _WIN32  // no file size limit there; a replace refused is tested with the Win32 files
    s.Players[0]->Name = "Changed";
    // A full disk: the file may grow to 100 bytes only.
    EXPECT_THROW(WriteWithFileSizeLimit([&] { WriteCsvReport(s, path); }, 100), std::runtime_error);
    EXPECT_EQ(ReadFileBytes(path), older);
    EXPECT_THROW(WriteWithFileSizeLimit([&] { WriteTextReport(s, path); }, 100), std::runtime_error);
    EXPECT_EQ(ReadFileBytes(path), older);
#endif
}
}  // namespace
}  // namespace kestrova
