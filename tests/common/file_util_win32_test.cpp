// The Win32 file operations, checked against what the system itself reports:
// the wide names the files get, link counts, sharing, read-only files.
#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <stdexcept>

#include "common/cp1252.h"
#include "common/file_util.h"
#include "common/wide_text.h"
#include "engine/tourney_file.h"
#include "fakes/fake_ports.h"
#include "records/event_log.h"
#include "records/kvb_reader.h"
#include "records/tourney_play.h"

namespace kestrova::testing {
namespace {

using Names = std::set<std::wstring>;

// Every name in the folder as the system spells it.
Names WideNames(const std::string& folder) {
    Names names;
    WIN32_FIND_DATAW d{};
    HANDLE h = ::FindFirstFileW(WideOf(folder + "*").c_str(), &d);
    if (h == INVALID_HANDLE_VALUE) return names;
    do {
        if (d.cFileName[0] != L'.') names.insert(d.cFileName);
    } while (::FindNextFileW(h, &d));
    ::FindClose(h);
    return names;
}

// The file opened as another program would, with that access and sharing.
HANDLE Opened(const std::string& path, DWORD access, DWORD share) {
    return ::CreateFileW(WideOf(path).c_str(), access, share, nullptr, OPEN_EXISTING, 0, nullptr);
}

DWORD LinkCount(const std::string& path) {
    HANDLE h = Opened(path, 0, FILE_SHARE_READ | FILE_SHARE_WRITE);
    BY_HANDLE_FILE_INFORMATION info{};
    const bool ok = h != INVALID_HANDLE_VALUE && ::GetFileInformationByHandle(h, &info);
    if (h != INVALID_HANDLE_VALUE) ::CloseHandle(h);
    return ok ? info.nNumberOfLinks : 0;
}

bool NoTemporaryOf(const std::string& folder, const std::string& name) {
    const std::vector<std::string> files = PlainFilesIn(folder);
    return std::none_of(files.begin(), files.end(),
                        [&](const std::string& f) { return IsTemporaryOf(f, name); });
}

// cp1252 names, the bytes 0x80-0x9F (which are not Latin-1) included, and
// the characters the system must show for them.
struct TNameCase {
    std::string Name;
    std::wstring Wide;
};
const TNameCase kNames[] = {
    {"\xC9t\xE9 \x80.kvb", L"\u00C9t\u00E9 \u20AC.kvb"},
    {"\x8A\x9F\x8C\x9C \x84\x93\x94.kvb", L"\u0160\u0178\u0152\u0153 \u201E\u201C\u201D.kvb"},
    {"na\xEFve caf\xE9 \xA3\xDF.kvb", L"na\u00EFve caf\u00E9 \u00A3\u00DF.kvb"},
};

TEST(Win32Files, NonAsciiNamesAreTheSameCharactersToTheSystem) {
    for (const TNameCase& c : kNames) {
        SCOPED_TRACE(Cp1252ToUtf8(c.Name));
        TempDir dir;
        const std::string path = dir.File(c.Name);
        WriteFileAtomically(path, "first");
        EXPECT_EQ(WideNames(dir.Path()), Names{c.Wide});
        EXPECT_TRUE(FileExists(path));
        EXPECT_EQ(ReadFileIfExists(path), std::optional<std::string>("first"));
        EXPECT_EQ(PlainFilesIn(dir.Path()), std::vector<std::string>{c.Name});
        // Appending and linking keep the name too.
        ASSERT_TRUE(AppendToFile(ChangeFileExt(path, ".log"), "a\r\n"));
        ASSERT_TRUE(AppendToFile(ChangeFileExt(path, ".log"), "b\r\n"));
        EXPECT_EQ(ReadFileBytes(ChangeFileExt(path, ".log")), "a\r\nb\r\n");
        ASSERT_TRUE(LinkOrCopyFile(path, ChangeFileExt(path, ".~kvb")));
        EXPECT_EQ(WideNames(dir.Path()).count(c.Wide.substr(0, c.Wide.size() - 4) + L".~kvb"), 1u);
        EXPECT_TRUE(RemoveFile(path));
        EXPECT_FALSE(FileExists(path));
    }
}

TEST(Win32Files, TournamentSavedAndReopenedUnderANonAsciiName) {
    TempDir dir;
    TTourneyState s;
    FakeWorld world;
    world.Wire(s);
    s.LogToFile = true;
    s.TourneyPath = dir.File("Ligue \x80t\xE9 \x9C.kvb");
    SignUpAndClose(s, 16, false, 46361.5);
    ASSERT_TRUE(SaveTourney(s));
    WriteLog(s, "Click: \xC9t\xE9");
    ASSERT_TRUE(SaveTourney(s));  // the second save keeps the first as the backup
    const Names names = WideNames(dir.Path());
    EXPECT_EQ(names.count(L"Ligue \u20ACt\u00E9 \u0153.kvb"), 1u);
    EXPECT_EQ(names.count(L"Ligue \u20ACt\u00E9 \u0153.~kvb"), 1u);
    EXPECT_EQ(names.count(L"Ligue \u20ACt\u00E9 \u0153.log"), 1u);
    EXPECT_NE(ReadFileBytes(dir.File("Ligue \x80t\xE9 \x9C.log")).find("Click: \xC9t\xE9\r\n"),
              std::string::npos);
    TTourneyState t;
    FakeWorld w;
    w.Wire(t);
    ASSERT_TRUE(ReadTourney(t, s.TourneyPath));
    EXPECT_EQ(t.Players.size(), 16u);
    EXPECT_TRUE(NoTemporaryOf(dir.Path(), "Ligue \x80t\xE9 \x9C.kvb"));
}

TEST(Win32Files, ReplaceKeepsTheOldFileWhenTheSystemRefuses) {
    TempDir dir;
    const std::string path = dir.File("Macros.kvm");
    WriteFileAtomically(path, "old");
    WriteFileAtomically(path, "new, longer than the old");
    EXPECT_EQ(ReadFileBytes(path), "new, longer than the old");
    EXPECT_EQ(WideNames(dir.Path()), Names{L"Macros.kvm"});

    // Another program holds the file open without letting it be replaced.
    HANDLE held = Opened(path, GENERIC_READ, FILE_SHARE_READ);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    try {
        WriteFileAtomically(path, "lost");
        ADD_FAILURE() << "a held file was replaced";
    } catch (const std::runtime_error& e) {
        const std::string what = e.what();
        EXPECT_EQ(what.rfind("Can't write file \"" + path + "\": cannot replace the file (", 0), 0u)
            << what;
    }
    ::CloseHandle(held);
    EXPECT_EQ(ReadFileBytes(path), "new, longer than the old");
    EXPECT_TRUE(NoTemporaryOf(dir.Path(), "Macros.kvm"));

    // A folder that does not exist: nothing is made anywhere.
    EXPECT_THROW(WriteFileAtomically(dir.File("none\\Macros.kvm"), "x"), std::runtime_error);
    EXPECT_EQ(WideNames(dir.Path()), Names{L"Macros.kvm"});
}

TEST(Win32Files, AppendGoesToTheEndWhileOthersReadAndWrite) {
    TempDir dir;
    const std::string log = dir.File("Friday.log");
    ASSERT_TRUE(AppendToFile(log, "one\r\n"));
    // A viewer has the log open, and another writer has moved its own
    // position to the start: the next line still goes to the end.
    HANDLE viewer = Opened(log, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE);
    ASSERT_NE(viewer, INVALID_HANDLE_VALUE);
    ASSERT_TRUE(AppendToFile(log, "two\r\n"));
    DWORD written = 0;
    ::SetFilePointer(viewer, 0, nullptr, FILE_END);
    ASSERT_TRUE(::WriteFile(viewer, "x\r\n", 3, &written, nullptr));
    ASSERT_TRUE(AppendToFile(log, "three\r\n"));
    ::CloseHandle(viewer);
    EXPECT_EQ(ReadFileBytes(log), "one\r\ntwo\r\nx\r\nthree\r\n");
    // A log held exclusively, or in a missing folder, is refused, not thrown.
    HANDLE exclusive = Opened(log, GENERIC_READ, 0);
    ASSERT_NE(exclusive, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(AppendToFile(log, "four\r\n"));
    ::CloseHandle(exclusive);
    EXPECT_FALSE(AppendToFile(dir.File("none\\Friday.log"), "x"));
    EXPECT_EQ(ReadFileBytes(log), "one\r\ntwo\r\nx\r\nthree\r\n");
}

TEST(Win32Files, BackupIsAHardLinkThatKeepsTheOldBytes) {
    TempDir dir;
    const std::string file = dir.File("Friday.kvb"), backup = dir.File("Friday.~kvb");
    EXPECT_FALSE(LinkOrCopyFile(file, backup));  // nothing to keep yet
    EXPECT_FALSE(FileExists(backup));
    WriteFileAtomically(file, "save 1");
    ASSERT_TRUE(LinkOrCopyFile(file, backup));
    EXPECT_EQ(LinkCount(file), 2u);
    WriteFileAtomically(file, "save 2");  // replaced, not rewritten: the link keeps save 1
    EXPECT_EQ(ReadFileBytes(backup), "save 1");
    EXPECT_EQ(LinkCount(backup), 1u);
    ASSERT_TRUE(LinkOrCopyFile(file, backup));  // over an older backup
    EXPECT_EQ(ReadFileBytes(backup), "save 2");
    // A missing source leaves the backup as it was.
    EXPECT_FALSE(LinkOrCopyFile(dir.File("Other.kvb"), backup));
    EXPECT_EQ(ReadFileBytes(backup), "save 2");
    EXPECT_EQ(WideNames(dir.Path()), (Names{L"Friday.kvb", L"Friday.~kvb"}));
}

TEST(Win32Files, StaleTemporariesOfTheFileOnlyAreRemoved) {
    TempDir dir;
    const std::string name = "Fri\xE9.kvb";
    WriteFileAtomically(dir.File(name), "kept");
    for (const char* suffix : {".tmp-AbC123", ".tmp-000000"})
        WriteFileBytes(dir.File(name + suffix), "half a save");
    const std::vector<std::string> kept{name + ".tmp-AbC12", name + ".tmp-Ab_123",
                                        "Fri.kvb.tmp-AbC123", name + ".tmp"};
    for (const auto& n : kept)
        WriteFileBytes(dir.File(n), "not ours");
    ASSERT_TRUE(MakeFolders(dir.File(name + ".tmp-Dir123\\inner")));
    RemoveStaleTemporaries(dir.File(name));
    const std::vector<std::string> left = PlainFilesIn(dir.Path());
    std::set<std::string> expected(kept.begin(), kept.end());
    expected.insert(name);
    EXPECT_EQ(std::set<std::string>(left.begin(), left.end()), expected);
    EXPECT_TRUE(FileExists(dir.File(name + ".tmp-Dir123\\inner")));
    EXPECT_TRUE(RemoveFolder(dir.File(name + ".tmp-Dir123\\inner")));
    EXPECT_TRUE(RemoveFolder(dir.File(name + ".tmp-Dir123")));
}

TEST(Win32Files, ReadsPathsAndFailures) {
    TempDir dir;
    WriteFileAtomically(dir.File("a.kvb"), std::string(3000, 'k'));
    EXPECT_EQ(ReadFileUpTo(dir.File("a.kvb"), 1 << 20).size(), 3000u);
    EXPECT_FALSE(ReadFileIfExists(dir.File("b.kvb")));
    try {
        ReadFileUpTo(dir.File("b.kvb"), 10);
        ADD_FAILURE() << "a missing file was read";
    } catch (const std::runtime_error& e) {
        std::string what = e.what();
        EXPECT_FALSE(what.empty());
        EXPECT_NE(what.back(), '\n');
    }
    // Each path, its folder: every name is "Friday.kvb".
    for (const auto& [path, folder] :
         {std::pair{"C:\\Kestrova\\Friday.kvb", "C:\\Kestrova"},
          std::pair{"C:\\Friday.kvb", "C:\\"}, std::pair{"C:\\a/b\\c/Friday.kvb", "C:\\a/b\\c"},
          std::pair{"\\Friday.kvb", "\\"}, std::pair{"Friday.kvb", "."}}) {
        EXPECT_EQ(FolderOf(path), folder) << path;
        EXPECT_EQ(FileNameOf(path), "Friday.kvb") << path;
    }
    ASSERT_TRUE(MakeFolders(dir.File("x\\y/z\\")));
    EXPECT_TRUE(FileExists(dir.File("x\\y\\z")));
    EXPECT_FALSE(MakeFolders(dir.File("a.kvb")));  // a file, not a folder
}

}  // namespace
}  // namespace kestrova::testing
