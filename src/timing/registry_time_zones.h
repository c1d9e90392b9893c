#pragma once
// The time-zone store of Windows, read-only: one sub-key per zone with the
// strings "Display", "Dlt" and "Std" and the 44-byte binary "TZI", and the
// local zone from GetTimeZoneInformation. Built on Windows only
// (time_zone_store_win32.cpp); other platforms use Qt's tz database.
#include <memory>
#include <string>

#include "common/ports.h"

namespace kestrova {

inline constexpr const char* TimeZonesKey =
    "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Time Zones";

enum class TRegistryRoot { LocalMachine, CurrentUser };

// The system's zones; a key of the same shape elsewhere when given (tests
// keep theirs under HKEY_CURRENT_USER). KeyNames throws when the key cannot
// be opened, Find when a zone's sub-key exists but cannot be read; a value
// that is missing or of another type reads as empty, which the world clock
// reports as damaged.
std::unique_ptr<ITimeZoneStore> MakeRegistryTimeZoneStore(
    TRegistryRoot root = TRegistryRoot::LocalMachine, std::string keyPath = TimeZonesKey);

}  // namespace kestrova
