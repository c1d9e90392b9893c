// Text, code page, date-time and file helpers.
#include <gtest/gtest.h>

#include <climits>

#include "common/cp1252.h"
#include "common/datetime.h"
#include "common/file_util.h"
#include "common/text.h"
#include "fakes/fake_ports.h"

namespace kestrova {
namespace {

TEST(Cp1252, RoundTripsEveryAssignedByteThroughUtf8) {
    std::string all;
    for (int b = 1; b < 256; ++b) all += static_cast<char>(b);
    EXPECT_EQ(Utf8ToCp1252(Cp1252ToUtf8(all)), all);
    EXPECT_EQ(Cp1252ToUtf8("\x95"), "\xE2\x80\xA2");  // the bullet of the default messages
    EXPECT_EQ(Cp1252ToUtf8("\x80"), "\xE2\x82\xAC");  // euro sign
    EXPECT_EQ(Cp1252ToUtf16("\x95"), u"\u2022");
}

TEST(Cp1252, UnmappableAndBrokenUtf8BecomeQuestionMarks) {
    EXPECT_EQ(Utf8ToCp1252("\xE4\xB8\xAD"), "?");          // a CJK character
    EXPECT_EQ(Utf8ToCp1252("a\xC3"), "a?");                 // cut in the middle
    EXPECT_EQ(Utf8ToCp1252("\xFF\xFE"), "??");              // not UTF-8 at all
    EXPECT_EQ(Utf8ToCp1252("Ren\xC3\xA9"), "Ren\xE9");     // e acute
}

TEST(Text, CaseInsensitiveComparisonCoversLatinLetters) {
    EXPECT_TRUE(SameText("bob", "BOB"));
    EXPECT_TRUE(SameText("Ren\xE9", "REN\xC9"));
    EXPECT_FALSE(SameText("bob", "bobby"));
    EXPECT_LT(CompareText("alice", "Bob"), 0);
    EXPECT_TRUE(ContainsText("Alderman", "DERM"));
    EXPECT_EQ(Trim(" \t x y \r\n"), "x y");
}

TEST(Text, NumbersAreReadStrictly) {
    int v = 0;
    EXPECT_TRUE(TryStrToInt(" -12 ", v));
    EXPECT_EQ(v, -12);
    EXPECT_FALSE(TryStrToInt("12a", v));
    EXPECT_FALSE(TryStrToInt("99999999999", v));
    EXPECT_TRUE(TryStrToInt("-2147483648", v));
    EXPECT_EQ(v, INT_MIN);
    EXPECT_FALSE(TryStrToInt("2147483648", v));
    EXPECT_FALSE(TryStrToInt("", v));
    EXPECT_EQ(StrToIntDef("x", 7), 7);
}

TEST(DateTime, DaysSince18991230) {
    EXPECT_DOUBLE_EQ(EncodeDateTime(1899, 12, 30), 0.0);
    EXPECT_DOUBLE_EQ(EncodeDateTime(1900, 1, 1), 2.0);
    EXPECT_DOUBLE_EQ(EncodeDateTime(2026, 12, 5, 12), 46361.5);
    TDateParts p = DecodeDateTime(EncodeDateTime(2026, 12, 5, 20, 7, 9));
    EXPECT_EQ(p.Year, 2026);
    EXPECT_EQ(p.Month, 12);
    EXPECT_EQ(p.Day, 5);
    EXPECT_EQ(p.Hour, 20);
    EXPECT_EQ(p.Minute, 7);
    EXPECT_EQ(p.Second, 9);
    EXPECT_EQ(p.DayOfWeek, 6);  // a Saturday
    EXPECT_EQ(SecondsBetween(EncodeDateTime(2026, 12, 5, 20, 1, 5), EncodeDateTime(2026, 12, 5, 20)),
              65);
}

// Dates before 1899-12-30 are whole days back from it plus the time of day,
// as the encoding counts them: -1.25 is 28 December, 6 pm.
TEST(DateTime, DatesBeforeTheEpochDecodeToTheDayTheyEncode) {
    const struct {
        double Serial;
        int Year, Month, Day, Hour, DayOfWeek;
    } rows[] = {{-1.0, 1899, 12, 29, 0, 5},  {-1.25, 1899, 12, 28, 18, 4}, {-0.5, 1899, 12, 29, 12, 5},
                {-365.0, 1898, 12, 30, 0, 5}, {-693593.0, 1, 1, 1, 0, 1}, {1.75, 1899, 12, 31, 18, 0}};
    for (const auto& r : rows) {
        const TDateParts p = DecodeDateTime(r.Serial);
        EXPECT_EQ(std::tie(p.Year, p.Month, p.Day, p.Hour, p.DayOfWeek),
                  std::tie(r.Year, r.Month, r.Day, r.Hour, r.DayOfWeek)) << r.Serial;
        EXPECT_DOUBLE_EQ(EncodeDateTime(r.Year, r.Month, r.Day, r.Hour), r.Serial);
    }
    const TDateParts bad = DecodeDateTime(std::nan(""));  // not a date: the epoch
    EXPECT_EQ(std::tie(bad.Year, bad.Month, bad.Day), std::make_tuple(1899, 12, 30));
}

TEST(DateTime, DurationsAndPatterns) {
    EXPECT_EQ(FormatDuration(420), "7:00");
    EXPECT_EQ(FormatDuration(65), "1:05");
    EXPECT_EQ(FormatDuration(75), "1:15");
    EXPECT_EQ(FormatDuration(-5), "0:00");
    TLocaleInfo loc;
    const TDateTime t = EncodeDateTime(2026, 12, 5, 20, 5, 9);
    EXPECT_EQ(FormatDateTime("mm/dd/yyyy", t, loc), "12/05/2026");
    EXPECT_EQ(FormatDateTime("hh:nn:ss", t, loc), "20:05:09");
    EXPECT_EQ(FormatDateTime("dddd", t, loc), "Saturday");
    EXPECT_EQ(FormatDateTime("' 'ddmmmyy' '", t, loc), " 05Dec26 ");
    EXPECT_EQ(FormatDateTime(":nn", t, loc), ":05");
    EXPECT_EQ(FormatDateTime("t", t, loc), "8:05 PM");
    EXPECT_EQ(FormatDateTime("\"Started at \"t", t, loc), "Started at 8:05 PM");
}

TEST(FileUtil, AtomicWriteReplacesAndReportsFailure) {
    testing::TempDir dir;
    const std::string path = dir.File("x.txt");
    WriteFileAtomically(path, "old");
    WriteFileAtomically(path, std::string("new\0bytes", 9));
    EXPECT_EQ(testing::ReadFileBytes(path), std::string("new\0bytes", 9));
    EXPECT_THROW(WriteFileAtomically(dir.File("no/such/folder/x.txt"), "a"), std::runtime_error);
    try {
        WriteFileAtomically(dir.File("no/x.txt"), "a");
    } catch (const std::runtime_error& e) {
        EXPECT_NE(std::string(e.what()).find("no/x.txt"), std::string::npos);
    }
    EXPECT_TRUE(CopyFileAtomically(path, dir.File("y.bak")));
    EXPECT_EQ(testing::ReadFileBytes(dir.File("y.bak")), testing::ReadFileBytes(path));
    EXPECT_FALSE(CopyFileAtomically(dir.File("missing"), dir.File("z")));
    EXPECT_EQ(ChangeFileExt("/a.b/Tourney Formats.ini", ".bak"), "/a.b/Tourney Formats.bak");
    EXPECT_EQ(ChangeFileExt("/a.b/noext", ".bak"), "/a.b/noext.bak");
    EXPECT_EQ(ChangeFileExt("/t/.kvb", ".bak"), "/t/.bak");  // the name is all extension
#ifndef _WIN32
    EXPECT_EQ(FolderOf("/x") + "|" + FolderOf("x") + "|" + FolderOf("/a/b"), "/|.|/a");
#endif
}

}  // namespace
}  // namespace kestrova
