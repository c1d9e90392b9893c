#pragma once
// The demonstration tournament behind the screenshot: 16 entries, double
// elimination, played through the window's own buttons to the middle.
#include <QString>

namespace kestrova {

class TKestrovaForm;

// Plays the demo in `window` and saves a grab of it as `pngPath`. `kind`:
// empty the double tournament in the middle of play, "first" the first
// window after the start-up dialog, "triple" a triple tournament played to
// its end.
void BuildDemoTourney(TKestrovaForm& window, const QString& pngPath, const QString& kind = {});

}  // namespace kestrova
