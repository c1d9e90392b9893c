// Text, code page and date-time helpers played from
// tests/data/common/text_and_dates.txt, and the file helpers.
#include <gtest/gtest.h>

#include <cmath>
#ifndef _WIN32
#include <unistd.h>
#endif

#include "common/cp1252.h"
#include "common/datetime.h"
#include "common/file_util.h"
#include "common/system_clock.h"
#include "common/text.h"
#include "fakes/case_file.h"
#include "fakes/fake_ports.h"

namespace kestrova::testing {
namespace {

std::string YesNo(bool b) {
    return b ? "yes" : "no";
}

std::string Decoded(TDateTime t) {
    const TDateParts p = DecodeDateTime(t);
    if (std::isfinite(t)) {
        EXPECT_NEAR(EncodeDateTime(p.Year, p.Month, p.Day, p.Hour, p.Minute, p.Second), t, 1e-9);
    }
    return Format("%d-%d-%d %d:%d:%d %d", p.Year, p.Month, p.Day, p.Hour, p.Minute, p.Second,
                  p.DayOfWeek);
}

// What `function` gives for `in` ("a | b" for two inputs).
std::string Apply(const std::string& function, const std::string& in, const TCase& c) {
    const size_t bar = in.find(" | ");
    const std::string a = in.substr(0, bar), b = bar == std::string::npos ? "" : in.substr(bar + 3);
    if (function == "utf8") return Cp1252ToUtf8(a);
    if (function == "cp1252") return Utf8ToCp1252(a);
    if (function == "same") return YesNo(SameText(a, b));
    if (function == "contains") return YesNo(ContainsText(a, b));
    if (function == "compare") return std::to_string(CompareText(a, b));
    if (function == "lower") return LowerCase(a);
    if (function == "trim") return Trim(a);
    if (function == "duration") return FormatDuration(std::stoll(a));
    if (function == "decode") return Decoded(std::stod(a));
    if (function == "int") {
        int v = 0;
        return TryStrToInt(a, v) ? std::to_string(v) : "refused";
    }
    if (function == "format") {
        TLocaleInfo loc;
        loc.ShortTimePattern = c.Get("short time", loc.ShortTimePattern);
        loc.LongTimePattern = c.Get("long time", loc.LongTimePattern);
        const TDateTime at =
            c.Has("at") ? std::stod(c.Get("at")) : EncodeDateTime(2026, 12, 5, 20, 5, 9);
        return FormatDateTime(a, at, loc);
    }
    ADD_FAILURE() << "unknown function " << function;
    return "";
}

TEST(TextAndDates, EachCaseGivesWhatItSays) {
    for (const TCase& c : ReadCases("common/text_and_dates.txt"))
        for (const auto& [function, value] : c.Fields) {
            if (value.find(" -> ") == std::string::npos && value.rfind("->", 0) != 0) continue;
            const auto [in, want] = Arrow(value);
            EXPECT_EQ(Apply(function, in, c), want)
                << c.Where() << ": " << function << " = " << value;
        }
    std::string all;
    for (int b = 1; b < 256; ++b)
        all += static_cast<char>(b);
    EXPECT_EQ(Utf8ToCp1252(Cp1252ToUtf8(all)), all);
    EXPECT_EQ(Cp1252ToUtf16("\x95"), u"\u2022");
    EXPECT_EQ(StrToIntDef("x", 7), 7);
    EXPECT_EQ(
        SecondsBetween(EncodeDateTime(2026, 12, 5, 20, 1, 5), EncodeDateTime(2026, 12, 5, 20)), 65);
    // The system's local time is a zone's offset (at most 14 hours) from its UTC.
    EXPECT_LT(std::abs(SystemLocalNow() - SystemUtcNow()), 14.5 / 24);
}

TEST(FileUtil, AtomicWriteReplacesAndReportsFailure) {
    TempDir dir;
    const std::string path = dir.File("x.txt");
    WriteFileAtomically(path, "old");
    WriteFileAtomically(path, std::string("new\0bytes", 9));
    EXPECT_EQ(ReadFileBytes(path), std::string("new\0bytes", 9));
    try {
        WriteFileAtomically(dir.File("no/x.txt"), "a");
        ADD_FAILURE() << "a write into a missing folder succeeded";
    } catch (const std::runtime_error& e) {
        EXPECT_NE(std::string(e.what()).find("no/x.txt"), std::string::npos);
    }
    EXPECT_TRUE(CopyFileAtomically(path, dir.File("y.bak")));
    EXPECT_EQ(ReadFileBytes(dir.File("y.bak")), ReadFileBytes(path));
    EXPECT_FALSE(CopyFileAtomically(dir.File("missing"), dir.File("z")));
    // One byte is written and appended like any other length.
    EXPECT_NO_THROW(WriteFileAtomically(dir.File("one.txt"), "1"));
    EXPECT_TRUE(AppendToFile(dir.File("one.txt"), "2"));
    EXPECT_EQ(ReadFileBytes(dir.File("one.txt")), "12");
    EXPECT_EQ(ChangeFileExt("/a.b/Tourney Formats.ini", ".bak"), "/a.b/Tourney Formats.bak");
    EXPECT_EQ(ChangeFileExt("/a.b/noext", ".bak"), "/a.b/noext.bak");
    EXPECT_EQ(ChangeFileExt("/t/.kvb", ".bak"), "/t/.bak");  // the name is all extension
    // The dot of "../" is the folder's; a file in the root folder has its own.
    EXPECT_EQ(ChangeFileExt("../Friday", ".kvb"), "../Friday.kvb");
    EXPECT_EQ(ChangeFileExt("/Friday.kvb", ".~kvb"), "/Friday.~kvb");
#ifndef _WIN32
    // Started with its standard input closed, the program gets descriptor 0 for the file.
    const int in = ::dup(0);
    ::close(0);
    EXPECT_NO_THROW(WriteFileAtomically(path, "on 0"));
    ::dup2(in, 0);
    ::close(in);
    EXPECT_EQ(ReadFileBytes(path), "on 0");
    EXPECT_EQ(FolderOf("/x") + "|" + FolderOf("x") + "|" + FolderOf("/a/b"), "/|.|/a");
    // Folders are made with their parents; one already there is fine, a file is not.
    EXPECT_TRUE(MakeFolders(dir.File("p/q/r/")));
    EXPECT_TRUE(FileExists(dir.File("p/q/r")));
    EXPECT_TRUE(MakeFolders(dir.File("p/q")));
    EXPECT_FALSE(MakeFolders(path));
#endif
}

}  // namespace
}  // namespace kestrova::testing
