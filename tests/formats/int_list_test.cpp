#include "common/int_list.h"

#include <gtest/gtest.h>

#include "formats/format_defaults.h"

namespace kestrova {
namespace {

TRoundList L(std::initializer_list<int32_t> v) {
    TRoundList r{};
    std::copy(v.begin(), v.end(), r.begin());
    return r;
}

TEST(IntList, ShortListsAreRoundsThenRepeatThenSemiAndFinal) {
    struct Case {
        const char* Text;
        TRoundList Want;
    } cases[] = {
        {"", {}},
        {"3", L({3})},
        {"3,5", L({3, 5})},
        {"1,2,3", L({1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 2, 3})},
        {"2,4,6,8", L({2, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 6, 8})},
        // The 14-value lists of the built-in format: the 13th round repeats the 12th.
        {"0,0,0,0,0,0,0,0,0,0,0,0,5,10", L({0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 5, 10})},
        {"1,2,3,4,5,6,7,8,9,10,11,12,13,14,15",
         L({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15})},
        // Twenty values: the first 13, then the second-last and the last.
        {"1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18,19,20",
         L({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 19, 20})},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ParseIntList(c.Text), c.Want) << c.Text;
}

TEST(IntList, BlanksSeparatorsAndStops) {
    EXPECT_EQ(ParseIntList(" 2 , 3"), L({2, 3}));
    EXPECT_EQ(ParseIntList("2;3"), L({2}));
    EXPECT_EQ(ParseIntList("1,2,,3"), L({1, 2}));
    EXPECT_EQ(ParseIntList("7,x,9"), L({7}));
    EXPECT_EQ(ParseIntList("\t4"), TRoundList{});  // only blanks are skipped
    // No sign is accepted: reading stops before it.
    EXPECT_EQ(ParseIntList("-3,4"), TRoundList{});
    EXPECT_EQ(ParseIntList("+3"), TRoundList{});
    EXPECT_EQ(ParseIntList("5,-3"), L({5}));
}

TEST(IntList, NineDigitsPerValueSoNothingOverflows) {
    EXPECT_EQ(ParseIntList("999999999"), L({999999999}));
    EXPECT_EQ(ParseIntList("1234567890"), L({123456789, 0}));
    // Thirty digits read as four values.
    EXPECT_EQ(ParseIntList("123456789012345678901234567890"),
              L({123456789, 12345678, 12345678, 12345678, 12345678, 12345678, 12345678, 12345678,
                 12345678, 12345678, 12345678, 12345678, 12345678, 901234567, 890}));
}

TEST(IntList, ReadingStopsAfter1025Values) {
    std::string text;
    for (int i = 0; i < 3000; ++i)
        text += std::to_string(i) + ",";
    TRoundList r = ParseIntList(text);
    EXPECT_EQ(r[12], 12);
    EXPECT_EQ(r[13], 1023);
    EXPECT_EQ(r[14], 1024);
}

TEST(IntList, FormatWritesAllFifteenWithoutBlanksAndReadsBack) {
    const TRoundList& preset = PointsPresets()[2];
    EXPECT_EQ(FormatIntList(preset), "3,3,3,3,3,3,3,3,3,3,3,3,3,3,5");
    TRoundList odd = L({0, 999999999, 7, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11});
    EXPECT_EQ(ParseIntList(FormatIntList(odd)), odd);
    EXPECT_EQ(FormatIntList(TRoundList{}), "0,0,0,0,0,0,0,0,0,0,0,0,0,0,0");
}

}  // namespace
}  // namespace kestrova
