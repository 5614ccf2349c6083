// Writes docs/paint-order.md: Wine's recording of every request, the rules checked, the evidence of what Windows
// does, and whatever recordings made on Windows say.
#pragma once

#include <string>
#include <vector>

#include "paint_order/recording.h"

// wine is the recording made under Wine; windows are recordings made on Windows, in the order they are cited.
std::string RenderCatalogue(const Recording& wine, const std::vector<Recording>& windows);
