#pragma once
// A program without a display: the one context over platform services that answer no
// dialog, yield nothing, sound nothing and draw nothing. The command-line program, the
// benchmarks and the fuzz targets run the core on it.
#include "platform/NullPlatform.h"
#include "program/AppContext.h"

namespace kivrel {

struct HeadlessProgram {
  NullDialogs dialogs;
  NullEventPump pump;
  NullBeeper beeper;
  FixedWindowMetrics metrics;
  NullSurface picture;
  AppContext ctx{dialogs, pump, beeper, metrics, picture};
};

}  // namespace kivrel
