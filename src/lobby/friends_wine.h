#pragma once
// Finding the lobby client's favourites folder inside a Wine prefix, where
// the Windows client runs on Linux: the "Path" value of its setup key in the
// prefix's "system.reg", turned into a path of this system.
#include <optional>
#include <string>
#include <string_view>

namespace kestrova {

// The "Path" string of "Software\Microsoft\Internet Gaming Zone\Setup" (or
// its Wow6432Node twin, where a 64-bit prefix keeps 32-bit programs) in the
// text of a Wine "system.reg"; key and value names without regard to case.
std::optional<std::string> WineZonePath(std::string_view systemReg);

// The Unix path of a Windows path inside `prefix` ("C:\Zone" becomes
// prefix + "/dosdevices/c:/Zone", or "/drive_c/Zone" when the prefix has no
// dosdevices link); each component is matched without regard to letter
// case, as Windows does. Nothing for a path without a drive letter.
std::optional<std::string> WineToUnixPath(const std::string& prefix,
                                          const std::string& windowsPath);

// The favourites folder of the client installed in the Wine prefix named by
// WINEPREFIX (default ~/.wine), ending in "/"; empty when there is none.
std::string WineFavoritesFolder();

}  // namespace kestrova
