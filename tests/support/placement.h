// Where a control is, against where its twips say it must be at a given DPI.
#pragma once

#include <windows.h>

#include <string_view>

#include "main_window/control_layout.h"

// The control's rectangle in its parent's client coordinates.
RECT RectInParent(HWND control);

void ExpectPlacedAt(HWND control, TwipsRect twips, int dpiX, int dpiY, std::string_view name);
