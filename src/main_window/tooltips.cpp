#include "main_window/tooltips.h"

#include <commctrl.h>

#include <array>
#include <cstdio>
#include <string_view>

namespace {

using Claim = FlagClaim;
using B = FlagClaim::Before;
using H = FlagClaim::Holds;
using P = FlagClaim::Place;
using T = FlagClaim::On;

struct FlagText {
  std::int32_t Value;
  std::string_view Name;
  std::vector<Claim> Claims;
};

// In the order of their values, as the catalogue names a flag word. Each sentence names the rows of the catalogue
// that show it; the catalogue's test checks it against every one of them.
const std::array<FlagText, 12>& FlagTexts() {
  static const std::array<FlagText, 12> texts{{
      {0x0001,
       "RDW_INVALIDATE",
       {{"Marks the whole window invalid, since no rectangle or region is passed: a WM_PAINT comes.",
         H::EveryRow,
         RDW_INVALIDATE,
         0,
         B::Nothing,
         T::Both,
         {WM_PAINT}},
        {"Its frame is drawn only with RDW_FRAME too.",
         H::Never,
         RDW_INVALIDATE,
         RDW_FRAME,
         B::Nothing,
         T::Both,
         {WM_NCPAINT}}}},
      {0x0002,
       "RDW_INTERNALPAINT",
       {{"Has a WM_PAINT come even where nothing is invalid: later, from the message loop,",
         H::EveryRow,
         RDW_INTERNALPAINT,
         RDW_INVALIDATE | RDW_UPDATENOW,
         B::Nothing,
         T::Both,
         {WM_PAINT},
         P::Later},
        {"or, under Wine, during the call with RDW_UPDATENOW.",
         H::EveryRow,
         RDW_INTERNALPAINT | RDW_UPDATENOW,
         RDW_INVALIDATE,
         B::Nothing,
         T::Both,
         {WM_PAINT},
         P::SentDuringTheCall}}},
      {0x0004,
       "RDW_ERASE",
       {{"With RDW_INVALIDATE, marks what is invalidated for erasing: the window gets WM_ERASEBKGND before it "
         "paints, though inside WM_PAINT Windows may leave it out.",
         H::EveryRow,
         RDW_ERASE | RDW_INVALIDATE,
         0,
         B::Nothing,
         T::Both,
         {WM_ERASEBKGND}}}},
      {0x0008,
       "RDW_VALIDATE",
       {{"Marks the client area valid: the erase and the client paint that were due are cancelled.",
         H::Never,
         RDW_VALIDATE,
         RDW_INVALIDATE,
         B::AnEarlierRequest,
         T::Both,
         {WM_ERASEBKGND}},
        {"Under Wine an invalid frame stays unless RDW_NOFRAME is given too: validated after RDW_INVALIDATE | "
         "RDW_FRAME, the text box still gets WM_NCPAINT, inside a WM_PAINT.",
         H::EveryRow,
         RDW_VALIDATE,
         RDW_NOFRAME | RDW_INVALIDATE,
         B::RedrawInvalidateEraseFrame,
         T::TextBox,
         {WM_NCPAINT},
         P::InsidePaint},
        {"With RDW_NOFRAME no WM_NCPAINT comes.",
         H::Never,
         RDW_VALIDATE | RDW_NOFRAME,
         0,
         B::RedrawInvalidateEraseFrame,
         T::Both,
         {WM_NCPAINT}},
        {"An internal paint stays."}}},
      {0x0010,
       "RDW_NOINTERNALPAINT",
       {{"Cancels a pending internal paint;",
         H::Never,
         RDW_NOINTERNALPAINT,
         0,
         B::RedrawInternalPaint,
         T::Both,
         {WM_PAINT}},
        {"a WM_PAINT for an invalid area still comes.",
         H::EveryRow,
         RDW_NOINTERNALPAINT | RDW_INVALIDATE,
         0,
         B::Nothing,
         T::Both,
         {WM_PAINT}}}},
      {0x0020,
       "RDW_NOERASE",
       {{"Cancels the erasing that was due: no WM_ERASEBKGND for what is invalid.",
         H::Never,
         RDW_NOERASE,
         RDW_ERASE,
         B::AnEarlierRequest,
         T::Both,
         {WM_ERASEBKGND}},
        {"RDW_ERASE in the same call wins: the window is erased all the same.",
         H::EveryRow,
         RDW_NOERASE | RDW_ERASE | RDW_INVALIDATE,
         0,
         B::Nothing,
         T::Both,
         {WM_ERASEBKGND}}}},
      {0x0040, "RDW_NOCHILDREN", {{"Leaves the window's children out of the request; the targets have none."}}},
      {0x0080, "RDW_ALLCHILDREN", {{"Takes the window's children into the request too; the targets have none."}}},
      {0x0100,
       "RDW_UPDATENOW",
       {{"Has the window painted before RedrawWindow returns, where a paint is due: WM_PAINT comes during the call.",
         H::WhereTheyCome,
         RDW_UPDATENOW,
         0,
         B::Any,
         T::Both,
         {WM_PAINT},
         P::SentDuringTheCall},
        {"A frame or an erase that is due comes inside that WM_PAINT, sent by BeginPaint, not by RedrawWindow.",
         H::WhereTheyCome,
         RDW_UPDATENOW,
         0,
         B::Any,
         T::Both,
         {WM_NCPAINT, WM_ERASEBKGND},
         P::InsidePaint}}},
      {0x0200,
       "RDW_ERASENOW",
       {{"Sends WM_NCPAINT and WM_ERASEBKGND, where they are due, before RedrawWindow returns;",
         H::WhereTheyCome,
         RDW_ERASENOW,
         RDW_UPDATENOW,
         B::Nothing,
         T::Both,
         {WM_NCPAINT, WM_ERASEBKGND},
         P::SentDuringTheCall},
        {"WM_PAINT still waits for the message loop.",
         H::WhereTheyCome,
         RDW_ERASENOW,
         RDW_UPDATENOW,
         B::Nothing,
         T::Both,
         {WM_PAINT},
         P::Later},
        {"It sends nothing while a parent that does not clip its children still needs painting:",
         H::Never,
         RDW_ERASENOW,
         0,
         B::FormInvalidated,
         T::Both,
         {},
         P::DuringTheCall},
        {"the frame and the erase then come later, inside WM_PAINT.",
         H::EveryRow,
         RDW_ERASENOW,
         0,
         B::FormInvalidated,
         T::Both,
         {WM_NCPAINT, WM_ERASEBKGND},
         P::InsidePaint}}},
      {0x0400,
       "RDW_FRAME",
       {{"With RDW_INVALIDATE, the part of the frame (the non-client area) that the update region takes in gets "
         "WM_NCPAINT, as the RedrawWindow page says;",
         H::EveryRow,
         RDW_FRAME | RDW_INVALIDATE,
         0,
         B::Nothing,
         T::TextBox,
         {WM_NCPAINT}},
        {"under Wine the borderless button gets one too, which no test run on Windows shows.",
         H::EveryRow,
         RDW_FRAME | RDW_INVALIDATE,
         0,
         B::Nothing,
         T::Button,
         {WM_NCPAINT}},
        {"Without RDW_INVALIDATE it does nothing.", H::Never, RDW_FRAME, RDW_INVALIDATE, B::Nothing, T::Both, {}}}},
      {0x0800,
       "RDW_NOFRAME",
       {{"Cancels the WM_NCPAINT that was due; meant for RDW_VALIDATE.",
         H::Never,
         RDW_NOFRAME | RDW_VALIDATE,
         0,
         B::RedrawInvalidateEraseFrame,
         T::Both,
         {WM_NCPAINT}},
        {"Under Wine, RDW_FRAME in the same call wins.",
         H::EveryRow,
         RDW_NOFRAME | RDW_FRAME | RDW_INVALIDATE,
         0,
         B::Nothing,
         T::Both,
         {WM_NCPAINT}}}},
  }};
  return texts;
}

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

const std::vector<FlagClaim>& FlagClaims(std::int32_t value) {
  static const std::vector<FlagClaim> none;
  for (const FlagText& flag : FlagTexts()) {
    if (flag.Value == value) return flag.Claims;
  }
  return none;
}

std::string FlagTooltip(std::int32_t value) {
  std::string text;
  for (const FlagClaim& claim : FlagClaims(value)) text.append(claim.Text).append(" ");
  return text.empty() ? text : text.append("Value: ").append(Hex(value)).append(".");
}

std::string RedrawWindowCall(bool onButton, std::int32_t flags) {
  std::string call = std::string("RedrawWindow(").append(TargetCalled(onButton)).append(", NULL, NULL, ");
  call += Hex(flags);
  const char* separator = " = ";
  for (const FlagText& flag : FlagTexts()) {
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
