// The registry's time-zone store: zones of our own under HKEY_CURRENT_USER
// (good, short, missing and mistyped values, a cp1252 key name) read back
// through the store and the world clock, the system's own zones, and the
// local zone as the system clock sees it.
#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>
#include <tuple>

#include "common/wide_text.h"
#include "fakes/fake_ports.h"
#include "timing/registry_time_zones.h"
#include "timing/time_zone.h"
#include "timing/world_clock.h"
#include "timing/zone_text.h"

namespace kestrova::testing {
namespace {

using Lines = std::vector<std::string>;

const TTimeZoneRule kEastern{300, 0, -60, DateOf("11/0/1/2"), DateOf("3/0/2/2")};
const TTimeZoneRule kTokyo{-540, 0, 0, {}, {}};

// A store key of the test's own, removed afterwards.
class TestZones {
  public:
    TestZones()
        : path_("Software\\Kestrova Tests\\Time Zones " + std::to_string(::GetCurrentProcessId())) {
    }
    ~TestZones() {
        ::RegDeleteTreeW(HKEY_CURRENT_USER, WideOf(path_).c_str());
        ::RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\Kestrova Tests");
    }
    const std::string& Path() const { return path_; }
    // A zone's sub-key with the values given (type, bytes).
    void Add(const std::string& key,
             const std::vector<std::tuple<std::wstring, DWORD, std::string>>& values) {
        HKEY h = nullptr;
        ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, WideOf(path_ + "\\" + key).c_str(), 0,
                                    nullptr, 0, KEY_WRITE, nullptr, &h, nullptr),
                  ERROR_SUCCESS);
        for (const auto& [name, type, bytes] : values)
            ::RegSetValueExW(h, name.c_str(), 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                             static_cast<DWORD>(bytes.size()));
        ::RegCloseKey(h);
    }
    static std::tuple<std::wstring, DWORD, std::string> Text(const wchar_t* name,
                                                             const std::string& cp1252) {
        const std::wstring w = WideOf(cp1252);
        return {name, REG_SZ,
                std::string(reinterpret_cast<const char*>(w.c_str()), (w.size() + 1) * 2)};
    }
    static std::tuple<std::wstring, DWORD, std::string> Tzi(const std::string& bytes) {
        return {L"TZI", REG_BINARY, bytes};
    }

  private:
    std::string path_;
};

TEST(RegistryTimeZones, ZonesAreReadAsStoredAndDamagedOnesAreRefused) {
    TestZones zones;
    zones.Add("Test Eastern", {TestZones::Text(L"Display", "(UTC-05:00) Test Eastern"),
                               TestZones::Text(L"Dlt", "Eastern Daylight Time"),
                               TestZones::Text(L"Std", "Eastern Standard Time"),
                               TestZones::Tzi(EncodeTzi(kEastern))});
    zones.Add("Zone \x80 Tokyo",
              {TestZones::Text(L"Display", "(UTC+09:00) Caf\xE9 \x80"),
               TestZones::Text(L"Std", "Tokyo Standard Time"), TestZones::Tzi(EncodeTzi(kTokyo))});
    zones.Add("Short TZI", {TestZones::Text(L"Display", "Short"),
                            TestZones::Tzi(EncodeTzi(kTokyo).substr(0, 40))});
    zones.Add("Wrong Types", {{L"Display", REG_DWORD, std::string("\x07\0\0\0", 4)},
                              {L"TZI", REG_SZ, EncodeTzi(kTokyo)}});
    zones.Add("Empty", {});
    auto store = MakeRegistryTimeZoneStore(TRegistryRoot::CurrentUser, zones.Path());

    Lines names = store->KeyNames();
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names,
              (Lines{"Empty", "Short TZI", "Test Eastern", "Wrong Types", "Zone \x80 Tokyo"}));

    // Each key as asked (in any case): its display, Dlt, Std and TZI bytes.
    for (const auto& [key, want] :
         {std::pair{"Test Eastern",
                    "(UTC-05:00) Test Eastern|Eastern Daylight Time|Eastern Standard Time|44"},
          std::pair{"zone \x80 tokyo", "(UTC+09:00) Caf\xE9 \x80||Tokyo Standard Time|44"},
          std::pair{"Short TZI", "Short|||40"}, std::pair{"Wrong Types", "|||0"},
          std::pair{"Empty", "|||0"}}) {
        const std::optional<TTimeZoneRecord> r = store->Find(key);
        ASSERT_TRUE(r) << key;
        EXPECT_EQ(r->KeyName, key);
        EXPECT_EQ(r->Display + "|" + r->Dlt + "|" + r->Std + "|" + std::to_string(r->Tzi.size()),
                  want);
    }
    for (const char* missing : {"Nope", "", "Test Eastern\\..", "..\\Time Zones"})
        EXPECT_FALSE(store->Find(missing)) << missing;

    // Only zones with a whole rule are offered, westernmost first.
    std::vector<std::string> listed;
    for (const TTimeZoneInfo& z : ReadZoneList(*store))
        listed.push_back(z.KeyName);
    EXPECT_EQ(listed, (Lines{"Test Eastern", "Zone \x80 Tokyo"}));

    // The world clock: a zone read whole, and a damaged one reported.
    FakeWorld world;
    TTourneyState s;
    world.Wire(s);
    s.Ports.TimeZones = store.get();
    s.Settings.MiddleTimeZone = "Zone \x80 Tokyo";
    s.Settings.RightTimeZone = "Short TZI";
    LoadZoneClocks(s);
    EXPECT_EQ(s.MiddleClockFormat, "\" TST: \"h:nn am/pm");
    EXPECT_EQ(s.RightClockFormat, "");
    EXPECT_EQ(world.Dialogs.Messages, Lines{"Error getting time-zone information"});

    auto none = MakeRegistryTimeZoneStore(TRegistryRoot::CurrentUser, zones.Path() + " missing");
    EXPECT_THROW(none->KeyNames(), std::runtime_error);
    EXPECT_FALSE(none->Find("Test Eastern"));
}

TEST(RegistryTimeZones, TheSystemsZonesIncludeTheDefaults) {
    auto store = MakeRegistryTimeZoneStore();
    const Lines names = store->KeyNames();
    EXPECT_GT(names.size(), 50u);
    const auto [middle, right] = store->DefaultKeyNames();
    for (const auto& [key, bias] : {std::pair{middle, 300}, std::pair{right, 480}}) {
        SCOPED_TRACE(key);
        EXPECT_NE(std::find(names.begin(), names.end(), key), names.end());
        std::optional<TTimeZoneRecord> r = store->Find(key);
        ASSERT_TRUE(r);
        std::optional<TTimeZoneInfo> zone = ZoneInfoFromRecord(*r);
        ASSERT_TRUE(zone);
        EXPECT_EQ(zone->Rule.Bias, bias);
        EXPECT_TRUE(HasDaylightRule(zone->Rule));
        EXPECT_FALSE(zone->Display.empty());
    }
}

// The local zone's bias in force is the difference between the system's UTC
// and local clocks.
TEST(RegistryTimeZones, TheLocalZoneMatchesTheSystemClock) {
    auto store = MakeRegistryTimeZoneStore();
    const TLocalZoneInfo local = store->LocalZone();
    SYSTEMTIME utc{}, here{};
    ::GetSystemTime(&utc);
    ::SystemTimeToTzSpecificLocalTime(nullptr, &utc, &here);
    FILETIME fu{}, fh{};
    ::SystemTimeToFileTime(&utc, &fu);
    ::SystemTimeToFileTime(&here, &fh);
    auto ticks = [](FILETIME f) {
        return static_cast<int64_t>((static_cast<uint64_t>(f.dwHighDateTime) << 32) |
                                    f.dwLowDateTime);
    };
    const int64_t minutes = (ticks(fu) - ticks(fh)) / 600000000;
    EXPECT_EQ(LocalBias(local), minutes);
}

}  // namespace
}  // namespace kestrova::testing
