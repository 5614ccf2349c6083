// What the recorder runs on, read from the system itself.
#pragma once

#include "paint_order/recording.h"

// The true version and build (not what the manifest lets GetVersionEx report), the edition, the DPI, and Wine's
// version where there is one.
SystemInfo ReadSystemInfo();
