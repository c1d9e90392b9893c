#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include <windows.h>

#include "common/system_clock.h"

namespace kestrova {

TDateTime SystemLocalNow() {
    SYSTEMTIME t{};
    ::GetLocalTime(&t);
    return EncodeDateTime(t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond,
                          t.wMilliseconds);
}

TDateTime SystemUtcNow() {
    SYSTEMTIME t{};
    ::GetSystemTime(&t);
    return EncodeDateTime(t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond);
}

}  // namespace kestrova
