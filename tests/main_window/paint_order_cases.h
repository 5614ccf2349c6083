// Every repaint request of the catalogue: what the platform answers on each target, and why.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "main_window/paint_order_recorder.h"

enum class When { During, Later };

// One traced line: when it came, arrival or return, how deep it was nested, the message and its result.
struct Row {
  When Time;
  char Edge;  // 'S' when the message arrives, 'R' when the target's procedure returns
  int Depth;  // 0 for a message the platform sent or posted itself; n+1 for one sent while n was handled
  std::string Message;
  unsigned Result = 0;  // R rows only
  bool operator==(const Row& other) const;
};
using Rows = std::vector<Row>;

Rows operator+(Rows first, const Rows& second);
Rows Frame(When time);                           // WM_NCPAINT, returning 0
Rows Erase(When time);                           // WM_ERASEBKGND, returning 1: the background was erased
Rows Paint(When time, const Rows& inside = {});  // WM_PAINT, returning 0, with what was sent while it was handled
inline const Rows Nothing{};

// The rows a recording shows, with the nesting read from the order of its S and R lines.
Rows RowsOf(const Recording& recording);
std::string Describe(const Rows& rows);

struct PaintOrderCase {
  const char* Title;
  RepaintRequest Request;
  Rows Button;
  std::optional<Rows> TextBox;  // only where the text box's border makes a difference
  const char* Remark;           // why the platform answers as it does; empty when the rules say it all
};

inline constexpr std::int32_t StartUp = RDW_INVALIDATE | RDW_ERASE | RDW_ERASENOW | RDW_FRAME;

constexpr RepaintRequest Redraw(std::int32_t flags, Before first = Before::Nothing) {
  return {Request::RedrawWindow, flags, first};
}

// D: sent during the call; L: delivered later by the loop.
constexpr When D = When::During, L = When::Later;

// A validation leaves the border's invalid frame alone unless RDW_NOFRAME says otherwise.
inline const Rows TextBoxFrameLeft = Paint(L, Frame(L));

inline const std::vector<PaintOrderCase> PaintOrderCases{
    // Each flag on its own.
    {"RDW_INVALIDATE alone",
     Redraw(RDW_INVALIDATE),
     Paint(L),
     {},
     "The client area is invalid but not marked for erasing."},
    {"RDW_INTERNALPAINT alone", Redraw(RDW_INTERNALPAINT), Paint(L), {}, "No update region, yet one WM_PAINT."},
    {"RDW_ERASE alone", Redraw(RDW_ERASE), Nothing, {}, "Without RDW_INVALIDATE there is nothing to erase."},
    {"RDW_VALIDATE alone", Redraw(RDW_VALIDATE), Nothing, {}, "Nothing was invalid."},
    {"RDW_NOINTERNALPAINT alone", Redraw(RDW_NOINTERNALPAINT), Nothing, {}, "Nothing was pending."},
    {"RDW_NOERASE alone", Redraw(RDW_NOERASE), Nothing, {}, "Nothing was pending."},
    {"RDW_NOCHILDREN alone", Redraw(RDW_NOCHILDREN), Nothing, {}, "Only says which windows a request reaches."},
    {"RDW_ALLCHILDREN alone", Redraw(RDW_ALLCHILDREN), Nothing, {}, "Only says which windows a request reaches."},
    {"RDW_UPDATENOW alone", Redraw(RDW_UPDATENOW), Nothing, {}, "Nothing is invalid, so there is nothing to paint."},
    {"RDW_ERASENOW alone", Redraw(RDW_ERASENOW), Nothing, {}, "Nothing is invalid, so there is nothing to erase."},
    {"RDW_FRAME alone", Redraw(RDW_FRAME), Nothing, {}, "Without RDW_INVALIDATE the frame is not invalidated."},
    {"RDW_NOFRAME alone", Redraw(RDW_NOFRAME), Nothing, {}, "Nothing was pending."},
    // The start-up word, and each flag added to it or taken from it.
    {"Start-up flags",
     Redraw(StartUp),
     Frame(D) + Erase(D) + Paint(L),
     {},
     "RDW_ERASENOW: frame, then background, before the call returns; the client paint waits for the loop."},
    {"Start-up without RDW_INVALIDATE",
     Redraw(StartUp & ~RDW_INVALIDATE),
     Nothing,
     {},
     "Nothing invalid: RDW_ERASE and RDW_FRAME do nothing."},
    {"Start-up with RDW_INTERNALPAINT",
     Redraw(StartUp | RDW_INTERNALPAINT),
     Frame(D) + Erase(D) + Paint(L),
     {},
     "The window is invalid anyway: still one WM_PAINT."},
    {"Start-up without RDW_ERASE",
     Redraw(StartUp & ~RDW_ERASE),
     Frame(D) + Paint(L),
     {},
     "Only the frame is due at once."},
    {"Start-up with RDW_VALIDATE",
     Redraw(StartUp | RDW_VALIDATE),
     Frame(D) + Erase(D) + Paint(L),
     {},
     "Contradictory word; the invalidation wins."},
    {"Start-up with RDW_NOINTERNALPAINT",
     Redraw(StartUp | RDW_NOINTERNALPAINT),
     Frame(D) + Erase(D) + Paint(L),
     {},
     "Concerns internal paints only."},
    {"Start-up with RDW_NOERASE",
     Redraw(StartUp | RDW_NOERASE),
     Frame(D) + Erase(D) + Paint(L),
     {},
     "Contradictory word (the documentation pairs RDW_NOERASE with RDW_VALIDATE); RDW_ERASE wins."},
    {"Start-up with RDW_NOCHILDREN",
     Redraw(StartUp | RDW_NOCHILDREN),
     Frame(D) + Erase(D) + Paint(L),
     {},
     "The targets have no children: no change."},
    {"Start-up with RDW_ALLCHILDREN",
     Redraw(StartUp | RDW_ALLCHILDREN),
     Frame(D) + Erase(D) + Paint(L),
     {},
     "The targets have no children: no change."},
    {"Start-up with RDW_UPDATENOW",
     Redraw(StartUp | RDW_UPDATENOW),
     Paint(D, Frame(D) + Erase(D)),
     {},
     "RDW_UPDATENOW: the paint comes at once, and BeginPaint inside it draws the frame and erases."},
    {"Start-up without RDW_ERASENOW",
     Redraw(StartUp & ~RDW_ERASENOW),
     Paint(L, Frame(L) + Erase(L)),
     {},
     "Nothing during the call; BeginPaint draws the frame and erases."},
    {"Start-up without RDW_FRAME",
     Redraw(StartUp & ~RDW_FRAME),
     Erase(D) + Paint(L),
     {},
     "The frame is not invalidated: no WM_NCPAINT."},
    {"Start-up with RDW_NOFRAME",
     Redraw(StartUp | RDW_NOFRAME),
     Frame(D) + Erase(D) + Paint(L),
     {},
     "Contradictory word (the documentation pairs RDW_NOFRAME with RDW_VALIDATE); RDW_FRAME wins."},
    // RDW_INVALIDATE with the flags that say what and when.
    {"Invalidate, erase", Redraw(RDW_INVALIDATE | RDW_ERASE), Paint(L, Erase(L)), {}, ""},
    {"Invalidate, frame", Redraw(RDW_INVALIDATE | RDW_FRAME), Paint(L, Frame(L)), {}, ""},
    {"Invalidate, erase now",
     Redraw(RDW_INVALIDATE | RDW_ERASENOW),
     Paint(L),
     {},
     "Nothing is marked for erasing, so RDW_ERASENOW has nothing to do."},
    {"Invalidate, update now", Redraw(RDW_INVALIDATE | RDW_UPDATENOW), Paint(D), {}, ""},
    {"Invalidate, erase, update now", Redraw(RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW), Paint(D, Erase(D)), {}, ""},
    {"Invalidate, frame, update now", Redraw(RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW), Paint(D, Frame(D)), {}, ""},
    {"Invalidate, erase, frame, update now",
     Redraw(RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW),
     Paint(D, Frame(D) + Erase(D)),
     {},
     ""},
    // Validating what an earlier request invalidated.
    {"Validate", Redraw(RDW_VALIDATE, Before::RedrawInvalidateEraseFrame), Nothing, TextBoxFrameLeft,
     "The client area is validated; the text box's invalid frame stays and still brings a WM_PAINT."},
    {"Validate, no erase", Redraw(RDW_VALIDATE | RDW_NOERASE, Before::RedrawInvalidateEraseFrame), Nothing,
     TextBoxFrameLeft, "As RDW_VALIDATE alone: the frame stays invalid."},
    {"Validate, no frame",
     Redraw(RDW_VALIDATE | RDW_NOFRAME, Before::RedrawInvalidateEraseFrame),
     Nothing,
     {},
     "RDW_NOFRAME takes the pending frame away too."},
    {"Validate, no erase, no frame",
     Redraw(RDW_VALIDATE | RDW_NOERASE | RDW_NOFRAME, Before::RedrawInvalidateEraseFrame),
     Nothing,
     {},
     ""},
    {"Validate, update now", Redraw(RDW_VALIDATE | RDW_UPDATENOW, Before::RedrawInvalidateEraseFrame), Nothing,
     Paint(D, Frame(D)), "What is left, the text box's frame, is painted at once."},
    {"Validate, no erase",
     Redraw(RDW_VALIDATE | RDW_NOERASE, Before::InvalidateRectErase),
     Nothing,
     {},
     "InvalidateRect touches no frame: nothing is left."},
    // Words that contradict themselves.
    {"No flag", Redraw(0), Nothing, {}, "RedrawWindow is asked for nothing."},
    {"Erase and no erase", Redraw(RDW_ERASE | RDW_NOERASE), Nothing, {}, "Nothing invalid."},
    {"Invalidate, erase and no erase",
     Redraw(RDW_INVALIDATE | RDW_ERASE | RDW_NOERASE),
     Paint(L, Erase(L)),
     {},
     "RDW_ERASE wins."},
    {"Invalidate and validate", Redraw(RDW_INVALIDATE | RDW_VALIDATE), Paint(L), {}, "RDW_INVALIDATE wins."},
    // The internal paint: a WM_PAINT without an update region.
    {"Internal paint, update now", Redraw(RDW_INTERNALPAINT | RDW_UPDATENOW), Paint(D), {}, ""},
    {"No internal paint",
     Redraw(RDW_NOINTERNALPAINT, Before::RedrawInternalPaint),
     Nothing,
     {},
     "The pending internal paint is taken away, even without RDW_VALIDATE."},
    {"Validate, no internal paint",
     Redraw(RDW_VALIDATE | RDW_NOINTERNALPAINT, Before::RedrawInternalPaint),
     Nothing,
     {},
     ""},
    // InvalidateRect with the whole client area.
    {"InvalidateRect", {Request::InvalidateRect, 0, Before::Nothing}, Paint(L), {}, "Like RDW_INVALIDATE alone."},
    {"InvalidateRect with Erase",
     {Request::InvalidateRectErase, 0, Before::Nothing},
     Paint(L, Erase(L)),
     {},
     "BeginPaint erases from inside WM_PAINT."},
};
