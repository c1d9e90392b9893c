// The cases of tests/data/engine/points_formats.txt, played by one runner:
// a formats file, the host's choices on the Format menu and a tournament
// played, then the values in force (the file's head lists the steps and
// checks), and the two points dialogs' rules on the values they show. Then
// the 27 built-in lines, byte for byte.
#include "engine/format_store.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <sstream>

#include "common/int_list.h"
#include "common/text.h"
#include "engine/play_helpers.h"
#include "engine/points.h"
#include "engine/status.h"
#include "engine/results.h"
#include "engine/table_count.h"
#include "engine/tourney_file.h"
#include "engine/undo.h"
#include "fakes/case_file.h"
#include "session/lifecycle.h"

namespace kestrova {
namespace {

using namespace testing;

class TitleView : public FakeView {
  public:
    int HostFieldChanges = 0;
    void HostFieldsChanged() override { ++HostFieldChanges; }
};

class TFormatPlay {
  public:
    explicit TFormatPlay(const TCase& c) : c_(c) {
        world_.Wire(s_);
        s_.Ports.View = &view_;
        s_.TourneyPath = dir_.File("t.kvb");
        s_.Settings.FilesFolder = dir_.Path();
    }
    void Step(const std::string& key, const std::string& value);

  private:
    void Play(const std::string& how, bool toTheEnd);
    static TElimFormat Elim(const std::string& words) {  // "Triple ...", "Double ...": else Single
        return words.rfind("Triple", 0) == 0   ? TElimFormat::Triple
               : words.rfind("Double", 0) == 0 ? TElimFormat::Double
                                               : TElimFormat::Single;
    }
    void Set(const std::string& key, const std::string& value);
    std::string Value(const std::string& key);
    const TCase& c_;
    TempDir dir_;
    FakeWorld world_;
    TitleView view_;
    TTourneyState s_;
    TMatchPointsArrangement a_;  // the dialogs' values
    TPlayerPointsValues v_;
    // The values a case sets or checks, by their formats-file keys.
    const std::map<std::string, TRoundList*> lists_ = {
        {"Points", &s_.MsgParams.MatchPoints},
        {"Win points", &s_.WinPoints},
        {"Bye points", &s_.ByePoints},
        {"Lose points", &s_.LosePoints},
        {"Match time limits", &s_.MsgParams.TimeLimits},
        {"Starting tables", &s_.StartTable},
        {"tier 0", &s_.MatchPointsTiers[0]},
        {"tier 4", &s_.MatchPointsTiers[4]}};
    const std::map<std::string, std::string*> texts_ = {
        {"title", &s_.Title},
        {"Host name", &s_.MsgParams.HostName},
        {"Co-host name", &s_.MsgParams.CoHostName},
        {"Co-host player Name", &s_.CoHostPlayerName},
        {"Start time", &s_.MsgParams.StartTime}};
    const std::map<std::string, int32_t*> numbers_ = {{"item", &s_.MatchPointsItem},
                                                      {"1st place points", &s_.FirstPlacePoints},
                                                      {"2nd place points", &s_.SecondPlacePoints},
                                                      {"Host points", &s_.HostPoints},
                                                      {"WinOfWin points", &s_.WinOfWinPoints},
                                                      {"3rd place points", &s_.ThirdPlacePoints},
                                                      {"grand final round", &s_.GrandFinalRound},
                                                      {"Boot time", &s_.BootTime}};
};

// Started, then played out: the entry signed up first wins every table.
void TFormatPlay::Play(const std::string& how, bool toTheEnd) {
    StartTourney(s_, Elim(how), std::stoi(how.substr(how.find(' '))));
    if (!toTheEnd) return;
    PlayInSignupOrder(s_);
    EXPECT_TRUE(GrandFinalDecided(s_)) << c_.Where();
}

void TFormatPlay::Step(const std::string& key, const std::string& value) {
    SCOPED_TRACE(c_.Where() + ": " + key);
    int n[3] = {};
    std::istringstream(value) >> n[0] >> n[1] >> n[2];
    const size_t entry = key == "disqualified" || key == "renamed" ? std::stoul(value) - 1 : 0;
    const std::map<std::string, std::function<void()>> steps = {
        {"formats",
         [&] {
             std::string text;
             for (const std::string& line : SplitLines(value))
                 text += line + "\r\n";
             WriteFileBytes(FormatsFilePath(s_), text);
         }},
        {"open", [&] { RebuildFormatMenu(s_, value); }},
        {"select", [&] { SelectFormat(s_, value); }},
        {"by name", [&] { SelectFormatByName(s_, value); }},
        {"preset", [&] { ChooseMatchPointsPreset(s_, n[0]); }},
        {"closed", [&] { s_.SignupClosed = true; }},
        {"new", [&] { ResetTourneyState(s_); }},
        {"reopen", [&] { EXPECT_TRUE(SaveTourney(s_) && ReadTourney(s_, s_.TourneyPath)); }},
        {"start", [&] { Play(value, false); }},
        {"play", [&] { Play(value, true); }},
        {"disqualified", [&] { s_.Players[entry]->Disqualified = true; }},
        {"renamed", [&] { s_.Players[entry]->Name = value.substr(value.find(' ') + 1); }},
        {"double", [&] { s_.DoublePlayerPoints = true; }},
        {"log has",
         [&] {
             EXPECT_NE(ReadFileBytes(dir_.File("t.log")).find(Unescape(value)), std::string::npos)
                 << value;
         }},
        {"win first table", [&] { AssignWin(s_, TBracketKind::Winners, 0, 0, 0, true, false); }},
        {"undo", [&] { Undo(s_); }},
        {"select tier", [&] { SelectMatchPointsTier(s_); }},
        // The points dialogs.
        {"read arrangement", [&] { a_ = ReadArrangement(s_); }},
        {"field", [&] { EditArrangementField(a_, n[0], n[1]); }},
        {"same for all", [&] { SetSameForAll(a_, value == "yes"); }},
        {"apply arrangement", [&] { ApplyArrangement(s_, a_); }},
        {"set rows",  // "0 1 2 3 4": each row filled with its value
         [&] {
             std::istringstream rows(value);
             for (TRoundList& row : a_.Tiers)
                 rows >> n[0], row.fill(n[0]);
         }},
        {"set shown",  // "Triple no 2": the elimination, the box, the row
         [&] {
             a_.Elim = Elim(value);
             a_.SameForAll = value.find(" yes ") != std::string::npos;
             a_.Tier = value.back() - '0';
         }},
        {"read values", [&] { v_ = ReadPlayerPointsValues(s_); }},
        {"cell", [&] { EditPointsCell(v_, n[0], n[1], n[2]); }},
        {"same rounds", [&] { SetSameRounds(v_, value == "yes"); }},
        {"apply values", [&] { ApplyPlayerPointsValues(s_, v_); }},
        {"value Second", [&] { v_.Second = n[0]; }},
        {"value Third", [&] { v_.Third = n[0]; }},
        {"value WinOfWin", [&] { v_.WinOfWin = n[0]; }},
        {"value Exactly", [&] { v_.Exactly = value == "yes"; }},
    };
    if (const auto step = steps.find(key); step != steps.end())
        step->second();
    else if (key.rfind("set ", 0) == 0)
        Set(key.substr(4), value);
    else
        EXPECT_EQ(Value(key), value);
}

// A list is filled with the one value.
void TFormatPlay::Set(const std::string& key, const std::string& value) {
    if (lists_.count(key)) lists_.at(key)->fill(std::stoi(value));
    if (texts_.count(key)) *texts_.at(key) = value;
    if (numbers_.count(key)) *numbers_.at(key) = std::stoi(value);
    EXPECT_TRUE(lists_.count(key) + texts_.count(key) + numbers_.count(key))
        << "cannot set " << key;
}

std::string TFormatPlay::Value(const std::string& key) {
    if (key == "elim") return IntToStr(static_cast<int>(s_.ElimFormat) + 1);
    if (key == "host fields told") return IntToStr(view_.HostFieldChanges);
    if (key == "saved") return ReadFileBytes(s_.TourneyPath).empty() ? "no" : "yes";
    if (key == "shown")
        return Format("%s %s %d", FormatName(a_.Elim), a_.SameForAll ? "yes" : "no", a_.Tier);
    if (key == "values")
        return Format("%s %d %d %d %d %s", v_.Exactly ? "exactly" : "extra", v_.First, v_.Second,
                      v_.Third, v_.Host, v_.SameRounds ? "same" : "each");
    if (key == "cells")
        return "win " + FormatIntList(v_.Win) + " bye " + FormatIntList(v_.Bye) + " lose " +
               FormatIntList(v_.Lose);
    if (lists_.count(key)) return FormatIntList(*lists_.at(key));
    if (texts_.count(key)) return *texts_.at(key);
    if (numbers_.count(key)) return IntToStr(*numbers_.at(key));
    std::string out;
    if (key == "format") return CurrentFormatName(s_);
    if (key == "names") return JoinLines(s_.FormatNames, "|");
    if (key == "formats file") return ReadFileBytes(FormatsFilePath(s_));
    if (key == "points") UpdatePlayerState(s_);
    for (const auto& tier : s_.MatchPointsTiers)
        if (key == "tiers") out += FormatIntList(tier) + " ";
    for (const auto& row : a_.Tiers)
        if (key == "rows") out += FormatIntList(row) + " ";
    for (int i = 0; i < RoundIndexCount; ++i)
        if (key == "fields") out += ArrangementFieldUsable(a_, i) ? 'x' : '.';
    if (key == "fields") return out;
    for (const auto& p : s_.Players)
        if (key == "points") out += IntToStr(p->Points) + " ";
    for (const auto& row : PlayerPointsRows(s_))
        if (key == "panel") out += Format("%s=%d ", row.Name.c_str(), row.Points);
    for (const auto& row : ByeRows(s_))
        if (key == "byes") out += row.Name + " " + row.Rounds + " ";
    if (key == "tiers" || key == "rows") return out;
    if (key == "points" || key == "panel" || key == "byes") return Trim(out);
    for (int k = 0; k < MessageKindCount; ++k) {
        const std::string name = MessageKey(TMessageKind(k));
        if (key == name) return s_.Messages[k];
        if (key == name + " is built in")
            return s_.Messages[k] == DefaultFormatValue(name) ? "yes" : "no";
    }
    ADD_FAILURE() << c_.Where() << ": unknown key " << key;
    return "";
}

TEST(PointsFormats, PlayAsWorkedOutByHand) {
    for (const TCase& c : ReadCases("engine/points_formats.txt")) {
        TFormatPlay play(c);
        for (const auto& [key, value] : c.Fields)
            play.Step(key, value);
    }
}

// The 27 built-in lines, written out by hand in tests/data: {B7} stands for
// seven cp1252 bullets. Every message key finds its line, whatever its case.
TEST(FormatDefaults, TwentySevenLinesByteForByte) {
    std::string text = ReadFileBytes(DataPath("format_defaults.txt"));
    for (size_t at; (at = text.find("{B7}")) != std::string::npos;)
        text.replace(at, 4, 7, '\x95');
    const std::vector<std::string> expected = SplitLines(text);
    ASSERT_EQ(expected.size(), 27u);
    EXPECT_EQ(DefaultFormatLines(), expected);
    for (int k = 0; k < MessageKindCount; ++k) {
        const std::string key = MessageKey(TMessageKind(k));
        const std::string line = key + "=" + DefaultFormatValue(key);
        EXPECT_NE(std::find(expected.begin(), expected.begin() + 20, line), expected.begin() + 20)
            << line;
    }
    EXPECT_EQ("welcome=" + DefaultFormatValue("welcome"), "w" + expected[0].substr(1));
    EXPECT_EQ(DefaultFormatValue("ELIM") + "|" + DefaultFormatValue("Elim=") + "|" +
                  DefaultFormatValue("Nope"),
              "1||");
    EXPECT_EQ(FindPointsPreset(ParseIntList("3,5")), -1);
}

}  // namespace
}  // namespace kestrova
