#pragma once
// The lobby link's Win32 side: the lobby client's windows through the
// system's window functions, and the clipboard and the pause after each
// line through the system's own. Built on Windows only (lobby_*_win32.cpp);
// every other platform keeps the defaults (no windows; Qt's clipboard).
#include <memory>

#include "common/ports.h"

namespace kestrova {

// FindWindowExA, GetWindowText (256 characters), GetClassNameA (64),
// GetClientRect, GetWindow, EnumChildWindows, SendMessageA, PostMessageA.
// Every call is safe on a window that has closed meanwhile.
std::unique_ptr<ILobbyWindows> MakeWin32LobbyWindows();

// SetClipboard: the clipboard opened for a hidden window of this thread,
// emptied and given the line as CF_TEXT (its cp1252 bytes) and as
// CF_UNICODETEXT, both in movable blocks; false when another program holds
// the clipboard open. Wait: GetTickCount's milliseconds, during which the
// thread's window messages are handled (a WM_QUIT is put back for the
// program's own loop). Made and used on the user-interface thread.
std::unique_ptr<ILobbyPort> MakeWin32LobbyPort();

}  // namespace kestrova
