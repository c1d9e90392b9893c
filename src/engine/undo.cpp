#include "engine/undo.h"

namespace kestrova {}  // namespace kestrova
