#pragma once
// The demonstration tournament behind the screenshot: 16 entries, double
// elimination, played through the window's own buttons to the middle.
#include <QString>

namespace kestrova {

class TKestrovaForm;

// Plays the demo in `window` and saves a grab of it as `pngPath`.
void BuildDemoTourney(TKestrovaForm& window, const QString& pngPath);

}  // namespace kestrova
