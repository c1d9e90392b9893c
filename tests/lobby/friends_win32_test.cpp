// The friends-list assistant's Win32 ports that have no POSIX form: the
// nick from the stand-in client's "ZoneClient" window and the setup key's
// "Path" (the files and the watcher are tests/lobby/friends_system_test.cpp).
#include <gtest/gtest.h>

#include "lobby/friends_fixture.h"
#include "win32/stand_in.h"

namespace kestrova::testing {
namespace {

using Lines = std::vector<std::string>;

class FriendsWin32Test : public FriendsFixture {
  public:
    void SetUp() override {
        FriendsFixture::SetUp();
        platform = MakeDefaultFriendsPlatform(nullptr);
    }
    // The assistant over the system's window, files and watcher.
    TRapidAssign& MakeSystem() {
        TRapidAssignPorts p{&favorites,           platform.Window.get(),
                            platform.Files.get(), platform.Watcher.get(),
                            &diagnostics,         &loop,
                            &world.Dialogs};
        ra = std::make_unique<TRapidAssign>(p);
        return *ra;
    }
    TFriendsPlatform platform;
};

TEST_F(FriendsWin32Test, TheNickComesFromTheZoneClientWindowsTitle) {
    EXPECT_EQ(platform.Window->FindClientWindow().Kind, TClientWindow::TKind::NoWindow);
    auto client = std::make_unique<TStandIn>(Lines{"client", "Zone - Hoster"});
    ASSERT_TRUE(client->Ready());
    TClientWindow w = platform.Window->FindClientWindow();
    EXPECT_EQ(w.Kind, TClientWindow::TKind::Found);
    EXPECT_EQ(w.Title, "Zone - Hoster");
    MakeSystem().SetActive(true);
    ASSERT_TRUE(ra->Active());
    EXPECT_EQ(ra->Nick(), "Hoster");
    // The client closes: the next nick check stops the assistant.
    client->Kill();
    ra->CheckNick();
    EXPECT_FALSE(ra->Active());
    EXPECT_EQ(diagnostics.Lines,
              (Lines{"KESTROVA: Could not find the ZoneFriends window\r\n",
                     "KESTROVA: ZoneFriends nick has changed, deactivating RapidAssign\r\n"}));

    // A title past 256 characters is read up to its 255th.
    std::string title = "Zone - \x80\x8A\x9F";
    while (title.size() < 300)
        title += "nick";
    client = std::make_unique<TStandIn>(Lines{"client", title});
    ASSERT_TRUE(client->Ready());
    EXPECT_EQ(platform.Window->FindClientWindow().Title, title.substr(0, 255));
}

// The setup key under HKEY_LOCAL_MACHINE, in the registry's 64-bit view or
// the 32-bit one a 32-bit client writes. Skipped where the key exists
// already (a real client) or cannot be written (no administrator).
class ZoneSetupKey {
  public:
    static constexpr wchar_t Path[] = L"Software\\Microsoft\\Internet Gaming Zone\\Setup";
    explicit ZoneSetupKey(REGSAM view) : view_(view) {
        HKEY probe = nullptr;
        existed_ =
            ::RegOpenKeyExW(HKEY_LOCAL_MACHINE, Path, 0, KEY_READ | view, &probe) == ERROR_SUCCESS;
        if (probe) ::RegCloseKey(probe);
        if (!existed_)
            made_ = ::RegCreateKeyExW(HKEY_LOCAL_MACHINE, Path, 0, nullptr, 0, KEY_WRITE | view,
                                      nullptr, &key_, nullptr) == ERROR_SUCCESS;
    }
    ~ZoneSetupKey() {
        if (key_) ::RegCloseKey(key_);
        if (made_) ::RegDeleteKeyExW(HKEY_LOCAL_MACHINE, Path, view_, 0);
    }
    bool Usable() const { return made_; }
    void Set(DWORD type, const std::wstring& text) {
        ::RegSetValueExW(key_, L"Path", 0, type, reinterpret_cast<const BYTE*>(text.c_str()),
                         static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
    }
    void SetNumber(DWORD v) {
        ::RegSetValueExW(key_, L"Path", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&v), sizeof v);
    }

  private:
    REGSAM view_;
    HKEY key_ = nullptr;
    bool existed_ = false, made_ = false;
};

TEST_F(FriendsWin32Test, TheFavouritesFolderIsTheSetupKeysPathWithFavorites) {
    EXPECT_EQ(platform.Favorites->RootPath(), "");  // no client installed
    for (REGSAM view : {KEY_WOW64_64KEY, KEY_WOW64_32KEY}) {
        SCOPED_TRACE(view == KEY_WOW64_64KEY ? "64-bit view" : "32-bit view");
        ZoneSetupKey key(view);
        if (!key.Usable()) GTEST_SKIP() << "the setup key exists or cannot be written";
        key.Set(REG_SZ, L"C:\\Program Files\\Zone \u20AC");
        EXPECT_EQ(platform.Favorites->RootPath(), "C:\\Program Files\\Zone \x80\\Favorites\\");
        key.Set(REG_SZ, L"D:\\Zone\\");
        EXPECT_EQ(platform.Favorites->RootPath(), "D:\\Zone\\Favorites\\");
        ::SetEnvironmentVariableW(L"KESTROVA_ZONE", L"E:\\Games");
        key.Set(REG_EXPAND_SZ, L"%KESTROVA_ZONE%\\Zone");
        EXPECT_EQ(platform.Favorites->RootPath(), "E:\\Games\\Zone\\Favorites\\");
        key.SetNumber(7);
        EXPECT_EQ(platform.Favorites->RootPath(), "");
    }
}

}  // namespace
}  // namespace kestrova::testing
