#include "support/form_design.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <vector>

HWND FindDesigned(HWND form, const DesignedControl& control) {
  const HWND parent = control.InFrame ? FindWindowExA(form, nullptr, "Button", "Border/Borderless") : form;
  // The log's text changes; it is the only edit box of the form itself.
  return FindWindowExA(parent, nullptr, control.Class, *control.Caption == '\0' ? nullptr : control.Caption);
}

HWND FindByCaption(HWND form, std::string_view caption) {
  for (const DesignedControl& control : DesignedControls) {
    if (control.Caption == caption) return FindDesigned(form, control);
  }
  return nullptr;
}

void ExpectLaidOutAsDesigned(HWND form, int dpi) {
  RECT client;
  GetClientRect(form, &client);
  EXPECT_EQ(client.right, Pixels(DesignedClientWidth, dpi));
  EXPECT_EQ(client.bottom, Pixels(DesignedClientHeight, dpi));
  for (const DesignedControl& control : DesignedControls) {
    SCOPED_TRACE(control.Caption);
    const HWND hwnd = FindDesigned(form, control);
    ASSERT_NE(hwnd, nullptr);
    RECT at;
    GetWindowRect(hwnd, &at);
    MapWindowPoints(nullptr, GetParent(hwnd), reinterpret_cast<POINT*>(&at), 2);
    EXPECT_EQ((std::vector<LONG>{at.left, at.top, at.right - at.left, at.bottom - at.top}),
              (std::vector<LONG>{Pixels(control.Left, dpi), Pixels(control.Top, dpi), Pixels(control.Width, dpi),
                                 Pixels(control.Height, dpi)}));
  }
}

HWND ShownTooltipOf(HWND form) {
  for (HWND window = nullptr; (window = FindWindowExA(nullptr, window, "tooltips_class32", nullptr)) != nullptr;) {
    if (GetWindow(window, GW_OWNER) == form && IsWindowVisible(window)) return window;
  }
  return nullptr;
}

void QuickenTooltips(HWND form) {
  for (HWND window = nullptr; (window = FindWindowExA(nullptr, window, "tooltips_class32", nullptr)) != nullptr;) {
    if (GetWindow(window, GW_OWNER) != form) continue;
    SendMessageA(window, TTM_SETDELAYTIME, TTDT_INITIAL, MAKELPARAM(20, 0));
    SendMessageA(window, TTM_SETDELAYTIME, TTDT_RESHOW, MAKELPARAM(10, 0));
  }
}

int LineTop(HWND log, int line) {
  const LRESULT at = SendMessageA(log, EM_POSFROMCHAR, SendMessageA(log, EM_LINEINDEX, line, 0), 0);
  return static_cast<short>(HIWORD(at));
}

POINT OnLine(HWND log, int line) {
  RECT text;
  SendMessageA(log, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&text));
  return {(text.left + text.right) / 2, LineTop(log, line) + 3};
}
