// The form as it was designed, written out apart from the program's own tables: every control in tab order,
// with its class, caption, parent and place in twips.
#pragma once

#include <windows.h>

#include <string_view>

struct DesignedControl {
  const char* Class;
  const char* Caption;
  bool InFrame;  // a child of the group box "Border/Borderless"
  int Left, Top, Width, Height;
  bool TabStop = true;
  bool Checked = false;  // at start
};

inline constexpr DesignedControl DesignedControls[] = {
    {"Button", "RDW_ERASE", false, 200, 360, 1455, 200, true, true},
    {"Button", "RDW_FRAME", false, 200, 763, 1455, 200, true, true},
    {"Button", "RDW_ERASENOW", false, 200, 1166, 1815, 200, true, true},
    {"Button", "RDW_NOERASE", false, 200, 1569, 1695, 200},
    {"Button", "RDW_NOFRAME", false, 200, 1972, 1695, 200},
    {"Button", "RDW_ALLCHILDREN", false, 200, 2375, 1935, 200},
    {"Button", "RDW_INVALIDATE", false, 200, 2778, 1815, 200, true, true},
    {"Button", "RDW_INTERNALPAINT", false, 200, 3181, 2175, 200},
    {"Button", "RDW_VALIDATE", false, 200, 3584, 1815, 200},
    {"Button", "RDW_UPDATENOW", false, 200, 3987, 2175, 200},
    {"Button", "RDW_NOCHILDREN", false, 200, 4390, 2055, 200},
    {"Button", "RDW_NOINTERNALPAINT", false, 200, 4800, 2535, 200},
    {"Edit", "", false, 2640, 2160, 6375, 3615},
    {"Button", "Border/Borderless", false, 5160, 240, 3375, 1335, false},
    {"Button", "No Border", true, 360, 360, 1215, 495},
    {"Edit", "   Has Border", true, 1920, 360, 1215, 495},
    {"Button", "Borderless", true, 360, 960, 1335, 255, true, true},
    {"Button", "Border", true, 2040, 960, 1095, 255},
    {"Button", "RedrawWindow", false, 2640, 480, 1335, 495},
    {"Button", "Clear", false, 1080, 5280, 1095, 495},
    {"Button", "InvalidateRect", false, 2640, 1200, 1215, 495},
    {"Button", "Erase", false, 3960, 1320, 735, 375},
};
inline constexpr int DesignedClientWidth = 9090, DesignedClientHeight = 5940;  // twips

// Twips to pixels at a DPI: 1,440 twips to the inch, rounded to the nearest pixel.
inline int Pixels(int twips, int dpi) { return MulDiv(twips, dpi, 1440); }

// The control of the form with this class, caption and parent, found as an outside driver finds it.
HWND FindDesigned(HWND form, const DesignedControl& control);

// The designed control with this caption, found on the form.
HWND FindByCaption(HWND form, std::string_view caption);

// The form's tooltip that shows now, if any: a window of comctl32's class that the form owns, in any process.
HWND ShownTooltipOf(HWND form);
// Shows the form's tooltips 20 ms after the cursor rests instead of the double-click time (500 ms by default),
// and hides them within 10 ms of its leaving instead of 100: a test that hovers many places waits both each time.
void QuickenTooltips(HWND form);

// The top of a line of a log box in its client area; negative above the view or past the last line.
int LineTop(HWND log, int line);

// A point in the middle of a line of a log box, as it shows now.
POINT OnLine(HWND log, int line);

// Every control where its design puts it at this DPI, and the form's client area its designed size.
void ExpectLaidOutAsDesigned(HWND form, int dpi);
