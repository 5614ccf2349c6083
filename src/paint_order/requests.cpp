#include "paint_order/requests.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "main_window/control_layout.h"

std::string FlagWord(std::int32_t flags) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%04X", static_cast<unsigned>(flags));
  return text;
}

std::string FlagNames(std::int32_t flags) {
  std::vector<std::pair<std::int32_t, const char*>> named;
  for (const FlagBox& box : Check1Boxes) {
    const std::int32_t value = ParseTag(box.Tag).value_or(0);
    if (flags & value) named.emplace_back(value, box.Caption);
  }
  std::sort(named.begin(), named.end());
  std::string names;
  for (const auto& flag : named) names += (names.empty() ? "" : " | ") + std::string(flag.second);
  return names.empty() ? "none" : names;
}

std::string RequestText(const RepaintRequest& request) {
  std::string text;
  switch (request.Kind) {
    case Request::RedrawWindow: text = "RedrawWindow " + FlagWord(request.Flags); break;
    case Request::InvalidateRect: text = "InvalidateRect, Erase unchecked"; break;
    case Request::InvalidateRectErase: text = "InvalidateRect, Erase checked"; break;
  }
  switch (request.First) {
    case Before::Nothing: break;
    case Before::InvalidateRectErase: text += " after InvalidateRect, Erase checked"; break;
    case Before::RedrawInvalidateEraseFrame: text += " after RedrawWindow " + FlagWord(InvalidateEraseFrame); break;
    case Before::RedrawInternalPaint: text += " after RedrawWindow " + FlagWord(RDW_INTERNALPAINT); break;
    case Before::OtherTargetInvalidated: text += " while the other target still needs painting"; break;
    case Before::FormInvalidated: text += " while the form still needs painting"; break;
  }
  return text;
}

const char* TargetName(Target target) { return target == Target::Button ? "button" : "text box"; }
