#include "support/placement.h"

#include <gtest/gtest.h>

#include <string>

RECT RectInParent(HWND control) {
  RECT rect;
  GetWindowRect(control, &rect);
  MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

void ExpectPlacedAt(HWND control, TwipsRect twips, int dpiX, int dpiY, std::string_view name) {
  SCOPED_TRACE(std::string(name));
  ASSERT_NE(control, nullptr);
  const RECT rect = RectInParent(control);
  EXPECT_EQ(rect.left, MulDiv(twips.Left, dpiX, 1440));
  EXPECT_EQ(rect.top, MulDiv(twips.Top, dpiY, 1440));
  EXPECT_EQ(rect.right - rect.left, MulDiv(twips.Width, dpiX, 1440));
  EXPECT_EQ(rect.bottom - rect.top, MulDiv(twips.Height, dpiY, 1440));
}
