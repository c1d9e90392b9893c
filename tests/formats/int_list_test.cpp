// Comma lists: the reading cases of tests/data/formats/int_lists.txt, the
// cap on values read, and the writing that reads back.
#include "common/int_list.h"

#include <gtest/gtest.h>

#include "fakes/case_file.h"
#include "formats/format_defaults.h"

namespace kestrova::testing {
namespace {

TEST(IntList, EachTextReadsAsWritten) {
    for (const TCase& c : ReadCases("formats/int_lists.txt"))
        for (const std::string& read : c.All("read")) {
            const auto [text, want] = Arrow(read);
            EXPECT_EQ(FormatIntList(ParseIntList(text)), want) << c.Where() << ": " << text;
        }
}

TEST(IntList, ReadingStopsAfter1025ValuesAndWritingReadsBack) {
    std::string text;
    for (int i = 0; i < 3000; ++i) text += std::to_string(i) + ",";
    const TRoundList r = ParseIntList(text);
    EXPECT_EQ(r[12], 12);
    EXPECT_EQ(r[13], 1023);
    EXPECT_EQ(r[14], 1024);
    EXPECT_EQ(FormatIntList(PointsPresets()[2]), "3,3,3,3,3,3,3,3,3,3,3,3,3,3,5");
    const TRoundList odd{0, 999999999, 7, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11};
    EXPECT_EQ(ParseIntList(FormatIntList(odd)), odd);
}

}  // namespace
}  // namespace kestrova::testing
