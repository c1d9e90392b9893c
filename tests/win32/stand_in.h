#pragma once
// Starts tests/win32/zone_stand_in.exe (built beside the test program) with
// a scene and talks to it through named kernel objects: its windows stand
// once the constructor returns, each line its chat inputs receive is read
// back from its record file, and a held file or clipboard is let go on
// request. Every wait is for the stand-in's own signal, with a bound for a
// stand-in that has died.
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <string>
#include <vector>

namespace kestrova::testing {

// One line a chat input sent: the room's title, the input's label (see the
// stand-in's scenes) and the text, all cp1252.
struct TReceived {
    std::string Room, Input, Text;
};

class TStandIn {
  public:
    // Scene arguments as cp1252 text ("rooms", "new:Spades 1", ...).
    explicit TStandIn(const std::vector<std::string>& scene);
    ~TStandIn();
    TStandIn(const TStandIn&) = delete;
    TStandIn& operator=(const TStandIn&) = delete;

    // The scene stands (false: the stand-in could not start or build it).
    bool Ready() const { return ready_; }
    // Waits until `count` lines in all were recorded; then every line so far.
    std::vector<TReceived> WaitForLines(size_t count);
    std::vector<TReceived> Received() const;
    // Lets go of the held file (appending the scene's text) or clipboard;
    // returns once the stand-in has.
    bool Release();
    // Ends the process at once: its windows vanish without closing.
    void Kill();

  private:
    HANDLE Make(const char* suffix, bool semaphore = false);
    std::wstring prefix_, record_;
    std::vector<HANDLE> objects_;
    HANDLE ready_h_ = nullptr, quit_ = nullptr, release_ = nullptr, released_ = nullptr;
    HANDLE line_ = nullptr;
    PROCESS_INFORMATION process_{};
    size_t seen_ = 0;
    bool ready_ = false;
};

// The bound of every wait for the stand-in: far above what it needs.
inline constexpr DWORD StandInBoundMs = 15000;

}  // namespace kestrova::testing
