#pragma once
// The system's clock: local time (with milliseconds) and UTC, as TDateTime.
// The program reads it only through IClock; this is what an unset clock port
// falls back to.
#include "common/datetime.h"

namespace kestrova {

TDateTime SystemLocalNow();
TDateTime SystemUtcNow();

}  // namespace kestrova
