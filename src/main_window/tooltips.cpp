#include "main_window/tooltips.h"

#include <commctrl.h>

#include <array>
#include <cstdio>
#include <string_view>

namespace {

struct FlagText {
  std::int32_t Value;
  std::string_view Name;
  std::string_view Text;
};

// In the order of their values, as the catalogue names a flag word.
constexpr std::array<FlagText, 12> FlagTexts{{
    {0x0001, "RDW_INVALIDATE",
     "Marks the whole window invalid, since no rectangle or region is passed: it will be painted."},
    {0x0002, "RDW_INTERNALPAINT", "Has a WM_PAINT come from the message loop even where nothing is invalid."},
    {0x0004, "RDW_ERASE",
     "With RDW_INVALIDATE, marks what is invalidated for erasing: the window gets WM_ERASEBKGND before it paints."},
    {0x0008, "RDW_VALIDATE",
     "Marks the whole window valid, cancelling the paints that were due for it; an internal paint stays."},
    {0x0010, "RDW_NOINTERNALPAINT", "Cancels a pending internal paint; a WM_PAINT for an invalid area still comes."},
    {0x0020, "RDW_NOERASE", "Cancels the erasing that was due: no WM_ERASEBKGND for what is invalid."},
    {0x0040, "RDW_NOCHILDREN", "Leaves the window's children out of the request; the targets have none."},
    {0x0080, "RDW_ALLCHILDREN", "Takes the window's children into the request too; the targets have none."},
    {0x0100, "RDW_UPDATENOW",
     "Sends WM_NCPAINT, WM_ERASEBKGND and WM_PAINT, where they are due, before RedrawWindow returns."},
    {0x0200, "RDW_ERASENOW",
     "Sends WM_NCPAINT and WM_ERASEBKGND, where they are due, before RedrawWindow returns; WM_PAINT still waits "
     "for the message loop."},
    {0x0400, "RDW_FRAME",
     "With RDW_INVALIDATE, marks the frame (the non-client area) invalid too, so the window gets WM_NCPAINT."},
    {0x0800, "RDW_NOFRAME", "Cancels the WM_NCPAINT that was due; meant for RDW_VALIDATE."},
}};

std::string Hex(std::int32_t flags) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%04X", static_cast<unsigned>(flags));
  return text;
}

}  // namespace

Tooltips::~Tooltips() {
  if (tooltip_ != nullptr && IsWindow(tooltip_)) DestroyWindow(tooltip_);
}

bool Tooltips::Create(HWND form, int maxWidth) noexcept {
  tooltip_ = CreateTooltipWindow(form, maxWidth);
  return tooltip_ != nullptr;
}

void Tooltips::Add(HWND form, HWND control) const noexcept {
  if (tooltip_ == nullptr) return;
  TOOLINFOA tool{};
  tool.cbSize = sizeof tool;
  tool.uFlags = TTF_IDISHWND;
  tool.hwnd = form;
  tool.uId = reinterpret_cast<UINT_PTR>(control);
  tool.lpszText = LPSTR_TEXTCALLBACKA;
  SendMessageA(tooltip_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
}

void Tooltips::Relay(const MSG& message) const noexcept {
  if (tooltip_ == nullptr || message.message < WM_MOUSEFIRST || message.message > WM_MOUSELAST) return;
  SendMessageA(tooltip_, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&message));
}

HWND CreateTooltipWindow(HWND form, int maxWidth) noexcept {
  INITCOMMONCONTROLSEX classes{sizeof classes, ICC_WIN95_CLASSES};
  InitCommonControlsEx(&classes);
  const HWND tooltip = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                                       CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, form, nullptr,
                                       reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(form, GWLP_HINSTANCE)), nullptr);
  if (tooltip != nullptr) SendMessageA(tooltip, TTM_SETMAXTIPWIDTH, 0, maxWidth);
  return tooltip;
}

RECT ClearOf(RECT tip, std::initializer_list<HWND> windows) noexcept {
  const int gap = 2 * GetSystemMetrics(SM_CYEDGE);
  bool moved = true;
  while (moved) {
    moved = false;
    for (const HWND window : windows) {
      RECT covered{}, overlap{};
      GetWindowRect(window, &covered);
      InflateRect(&covered, gap, gap);
      if (!IntersectRect(&overlap, &tip, &covered)) continue;
      OffsetRect(&tip, 0, covered.bottom - tip.top);
      moved = true;
    }
  }
  return tip;
}

void KeepClearOf(HWND tooltip, std::initializer_list<HWND> windows) noexcept {
  RECT tip{};
  GetWindowRect(tooltip, &tip);
  tip = ClearOf(tip, windows);
  SetWindowPos(tooltip, nullptr, tip.left, tip.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

std::string_view TargetCalled(bool onButton) {
  return onButton ? R"(the "No Border" button)" : R"(the "   Has Border" text box)";
}

std::string FlagTooltip(std::int32_t value) {
  for (const FlagText& flag : FlagTexts) {
    if (flag.Value == value) return std::string(flag.Text).append(" Value: ").append(Hex(value)).append(".");
  }
  return {};
}

std::string RedrawWindowCall(bool onButton, std::int32_t flags) {
  std::string call = std::string("RedrawWindow(").append(TargetCalled(onButton)).append(", NULL, NULL, ");
  call += Hex(flags);
  const char* separator = " = ";
  for (const FlagText& flag : FlagTexts) {
    if ((flags & flag.Value) == 0) continue;
    call.append(separator).append(flag.Name);
    separator = " | ";
  }
  return call + ")";
}

std::string InvalidateRectCall(bool onButton, bool erase) {
  return std::string("InvalidateRect(")
      .append(TargetCalled(onButton))
      .append(erase ? ", NULL, TRUE)" : ", NULL, FALSE)");
}
