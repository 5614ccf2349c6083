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
  unsigned Result = 0;                      // R rows only
  bool Optional = false;                    // some Windows versions leave it out; Wine sends it
  bool operator==(const Row& other) const;  // the same line; whether it is optional does not count
};
using Rows = std::vector<Row>;

Rows operator+(Rows first, const Rows& second);
Rows Frame(When time);                           // WM_NCPAINT, returning 0
Rows Erase(When time);                           // WM_ERASEBKGND, returning 1: the background was erased
Rows Paint(When time, const Rows& inside = {});  // WM_PAINT, returning 0, with what was sent while it was handled
Rows Optional(Rows rows);                        // the same rows, each one that some Windows versions leave out
inline const Rows Nothing{};

// The rows a recording shows, with the nesting read from the order of its S and R lines.
Rows RowsOf(const Recording& recording);
std::string Describe(const Rows& rows);
// Whether the traced rows are the expected ones. Under Wine every row must be there; on Windows an optional
// expected row may be missing.
bool Matches(const Rows& traced, const Rows& expected, bool optionalMayBeMissing);

struct PaintOrderCase {
  const char* Title;
  RepaintRequest Request;
  Rows Button;
  std::optional<Rows> TextBox;  // only where the text box's border makes a difference
  const char* Remark;           // why the platform answers as it does; empty when the rules say it all
  // What sources that reflect Windows say of the row: a verdict ("same", "differs: ", "may differ across
  // versions: " or "not established"), then the evidence.
  std::string OnWindows;
  std::string TextBoxOnWindows{};  // only where the evidence for the text box is another
};

inline constexpr std::int32_t StartUp = RDW_INVALIDATE | RDW_ERASE | RDW_ERASENOW | RDW_FRAME;

constexpr RepaintRequest Redraw(std::int32_t flags, Before first = Before::Nothing) {
  return {Request::RedrawWindow, flags, first};
}

// D: sent during the call; L: delivered later by the loop.
constexpr When D = When::During, L = When::Later;

// BeginPaint drawing an invalid frame and erasing; some Windows versions leave the erase out.
inline const Rows FramedErase = Frame(L) + Optional(Erase(L));

// A validation leaves the border's invalid frame alone unless RDW_NOFRAME says otherwise.
inline const Rows TextBoxFrameLeft = Paint(L, Frame(L));

// msg.c marks the erase inside these paints optional: some Windows versions leave it out.
inline const std::string ErasedInPaintMayGo =
    "may differ across versions: the WM_ERASEBKGND inside WM_PAINT, which msg.c marks optional in "
    "`WmInvalidateErasePaint`, `WmChildPaintNc` and `WmParentPaintNc` (older copies required it). ";
inline const char ButtonValidated[] =
    "same: the button's client area is the whole window, so RDW_VALIDATE leaves nothing under any reading of the "
    "RedrawWindow page.";
inline const char TextBoxFrameKept[] =
    "not established: no Windows-run test. The RedrawWindow page says RDW_VALIDATE without a rectangle validates "
    "\"the entire window\", which would leave nothing; that the frame stays is Wine's answer (and ReactOS's).";
inline const char NoFrameTakesFrame[] =
    "same: msg.c \"EmptySeq\" after RDW_VALIDATE with RDW_NOFRAME, and \"Paint\" (a later RDW_INVALIDATE with "
    "RDW_UPDATENOW brings no frame message): RDW_NOFRAME takes the pending frame away.";

// Made on first use: clang runs the initializers of inline variables in the order it emits them, not in the order
// they are written, so a table made at start-up could copy the pieces above before they exist.
inline const std::vector<PaintOrderCase>& PaintOrderCases() {
  static const std::vector<PaintOrderCase> cases{
      // Each flag on its own.
      {"RDW_INVALIDATE alone",
       Redraw(RDW_INVALIDATE),
       Paint(L),
       {},
       "The client area is invalid but not marked for erasing.",
       "same: ReactOS Test3 (one WM_PAINT, no erase, no frame)."},
      {"RDW_INTERNALPAINT alone",
       Redraw(RDW_INTERNALPAINT),
       Paint(L),
       {},
       "No update region, yet one WM_PAINT.",
       "same: ReactOS Test7 (no update rectangle, one WM_PAINT); the WM_PAINT page."},
      {"RDW_ERASE alone",
       Redraw(RDW_ERASE),
       Nothing,
       {},
       "Without RDW_INVALIDATE there is nothing to erase.",
       "same: ReactOS Test2 (nothing); the RedrawWindow page."},
      {"RDW_VALIDATE alone",
       Redraw(RDW_VALIDATE),
       Nothing,
       {},
       "Nothing was invalid.",
       "same: ReactOS Tests 16, 19, 22 and 25 (RDW_VALIDATE with one more flag: nothing)."},
      {"RDW_NOINTERNALPAINT alone",
       Redraw(RDW_NOINTERNALPAINT),
       Nothing,
       {},
       "Nothing was pending.",
       "same: ReactOS Test17 (nothing)."},
      {"RDW_NOERASE alone", Redraw(RDW_NOERASE), Nothing, {}, "Nothing was pending.", "same: ReactOS Test9 (nothing)."},
      {"RDW_NOCHILDREN alone",
       Redraw(RDW_NOCHILDREN),
       Nothing,
       {},
       "Only says which windows a request reaches.",
       "same: ReactOS Tests 26 and 32 (nothing)."},
      {"RDW_ALLCHILDREN alone",
       Redraw(RDW_ALLCHILDREN),
       Nothing,
       {},
       "Only says which windows a request reaches.",
       "same: ReactOS Test29 (nothing)."},
      {"RDW_UPDATENOW alone",
       Redraw(RDW_UPDATENOW),
       Nothing,
       {},
       "Nothing is invalid, so there is nothing to paint.",
       "same: ReactOS Test23 (nothing)."},
      {"RDW_ERASENOW alone",
       Redraw(RDW_ERASENOW),
       Nothing,
       {},
       "Nothing is invalid, so there is nothing to erase.",
       "same: ReactOS Test20 (nothing)."},
      {"RDW_FRAME alone",
       Redraw(RDW_FRAME),
       Nothing,
       {},
       "Without RDW_INVALIDATE the frame is not invalidated.",
       "same: ReactOS Test5 (nothing); the RedrawWindow page."},
      {"RDW_NOFRAME alone",
       Redraw(RDW_NOFRAME),
       Nothing,
       {},
       "Nothing was pending.",
       "same: ReactOS Test13 (nothing)."},
      // The start-up word, and each flag added to it or taken from it.
      {"Start-up flags",
       Redraw(StartUp),
       Frame(D) + Erase(D) + Paint(L),
       {},
       "RDW_ERASENOW: frame, then background, before the call returns; the client paint waits for the loop.",
       "same while the form and the group box have nothing to paint (see the rows *while* they do): msg.c "
       "`WmInvalidateErase` then `WmPaint` (a top-level window: frame, then erase during the call, a bare WM_PAINT "
       "later) and `WmInvalidateParentChild` (a bordered child). That a borderless child gets WM_NCPAINT rests on "
       "`WmFirstDrawChildSeq2`."},
      {"Start-up without RDW_INVALIDATE",
       Redraw(StartUp & ~RDW_INVALIDATE),
       Nothing,
       {},
       "Nothing invalid: RDW_ERASE and RDW_FRAME do nothing.",
       "same: ReactOS Tests 2, 5 and 20 (each flag alone: nothing); the RedrawWindow page."},
      {"Start-up with RDW_INTERNALPAINT",
       Redraw(StartUp | RDW_INTERNALPAINT),
       Frame(D) + Erase(D) + Paint(L),
       {},
       "The window is invalid anyway: still one WM_PAINT.",
       "same: msg.c `WmInvalidateErase`; ReactOS Test8 (with RDW_INVALIDATE, one WM_PAINT, not two)."},
      {"Start-up without RDW_ERASE",
       Redraw(StartUp & ~RDW_ERASE),
       Frame(D) + Paint(L),
       {},
       "Only the frame is due at once.",
       "same: msg.c `WmInvalidateFull` (the frame alone during the call, the client still invalid); ReactOS Test21 "
       "(no erase later)."},
      {"Start-up with RDW_VALIDATE",
       Redraw(StartUp | RDW_VALIDATE),
       Frame(D) + Erase(D) + Paint(L),
       {},
       "Contradictory word; the invalidation wins.",
       "same: ReactOS Test15 (RDW_INVALIDATE wins over RDW_VALIDATE, there with RDW_NOFRAME)."},
      {"Start-up with RDW_NOINTERNALPAINT",
       Redraw(StartUp | RDW_NOINTERNALPAINT),
       Frame(D) + Erase(D) + Paint(L),
       {},
       "Concerns internal paints only.",
       "same: ReactOS Test18 (with RDW_INVALIDATE, one WM_PAINT)."},
      {"Start-up with RDW_NOERASE",
       Redraw(StartUp | RDW_NOERASE),
       Frame(D) + Erase(D) + Paint(L),
       {},
       "Contradictory word (the documentation pairs RDW_NOERASE with RDW_VALIDATE); RDW_ERASE wins.",
       "same: ReactOS Test12 (RDW_ERASE wins over RDW_NOERASE)."},
      {"Start-up with RDW_NOCHILDREN",
       Redraw(StartUp | RDW_NOCHILDREN),
       Frame(D) + Erase(D) + Paint(L),
       {},
       "The targets have no children: no change.",
       "same: ReactOS Tests 27 and 33 (with RDW_INVALIDATE on a window with a child: one WM_PAINT)."},
      {"Start-up with RDW_ALLCHILDREN",
       Redraw(StartUp | RDW_ALLCHILDREN),
       Frame(D) + Erase(D) + Paint(L),
       {},
       "The targets have no children: no change.",
       "same: ReactOS Test30 (with RDW_INVALIDATE: one WM_PAINT)."},
      {"Start-up with RDW_UPDATENOW",
       Redraw(StartUp | RDW_UPDATENOW),
       Paint(D, Frame(D) + Optional(Erase(D))),
       {},
       "RDW_UPDATENOW: the paint comes at once, and BeginPaint inside it draws the frame and erases.",
       ErasedInPaintMayGo + "msg.c `WmInvalidatePaint`: with RDW_UPDATENOW, RDW_ERASENOW sends nothing before the "
                            "WM_PAINT."},
      {"Start-up without RDW_ERASENOW",
       Redraw(StartUp & ~RDW_ERASENOW),
       Paint(L, FramedErase),
       {},
       "Nothing during the call; BeginPaint draws the frame and erases.",
       ErasedInPaintMayGo + "Nothing during the call: msg.c \"EmptySeq\" after RDW_INVALIDATE with RDW_FRAME."},
      {"Start-up without RDW_FRAME",
       Redraw(StartUp & ~RDW_FRAME),
       Erase(D) + Paint(L),
       {},
       "The frame is not invalidated: no WM_NCPAINT.",
       "same: msg.c `WmErase` (no frame message without RDW_FRAME) and `WmInvalidateParentChild2` (the parent: the "
       "erase alone)."},
      {"Start-up with RDW_NOFRAME",
       Redraw(StartUp | RDW_NOFRAME),
       Frame(D) + Erase(D) + Paint(L),
       {},
       "Contradictory word (the documentation pairs RDW_NOFRAME with RDW_VALIDATE); RDW_FRAME wins.",
       "not established: no Windows-run test; the RedrawWindow page calls RDW_NOFRAME a validation flag that must be "
       "used with RDW_VALIDATE. That RDW_FRAME wins is Wine's answer."},
      // RDW_INVALIDATE with the flags that say what and when.
      {"Invalidate, erase",
       Redraw(RDW_INVALIDATE | RDW_ERASE),
       Paint(L, Erase(L)),
       {},
       "",
       "same: ReactOS Test4 (an erase, one WM_PAINT); the BeginPaint page (BeginPaint erases); msg.c "
       "`WmSetFontButtonSeq` (a classic button erases inside its own WM_PAINT)."},
      {"Invalidate, frame",
       Redraw(RDW_INVALIDATE | RDW_FRAME),
       Paint(L, Frame(L)),
       {},
       "",
       "same: ReactOS Test6 (a frame message although only the client area was invalidated, one WM_PAINT); the "
       "nesting from msg.c `WmInvalidatePaint`."},
      {"Invalidate, erase now",
       Redraw(RDW_INVALIDATE | RDW_ERASENOW),
       Paint(L),
       {},
       "Nothing is marked for erasing, so RDW_ERASENOW has nothing to do.",
       "same: ReactOS Tests 21 and 36 (nothing before the call returns, no erase at all, one WM_PAINT later)."},
      {"Invalidate, update now",
       Redraw(RDW_INVALIDATE | RDW_UPDATENOW),
       Paint(D),
       {},
       "",
       "same: ReactOS Test24 (painted before the call returned, nothing left, no erase, no frame)."},
      {"Invalidate, erase, update now",
       Redraw(RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW),
       Paint(D, Optional(Erase(D))),
       {},
       "",
       ErasedInPaintMayGo + "The RedrawWindow and BeginPaint pages: the paint before the call returns, the erase from "
                            "BeginPaint."},
      {"Invalidate, frame, update now",
       Redraw(RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW),
       Paint(D, Frame(D)),
       {},
       "",
       "same: msg.c `WmInvalidatePaint` (there with RDW_ERASENOW too): the frame message inside WM_PAINT, during the "
       "call."},
      {"Invalidate, erase, frame, update now",
       Redraw(RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW),
       Paint(D, Frame(D) + Optional(Erase(D))),
       {},
       "",
       ErasedInPaintMayGo + "msg.c `WmInvalidateErasePaint` has exactly these flags, on a top-level window."},
      // Validating what an earlier request invalidated.
      {"Validate", Redraw(RDW_VALIDATE, Before::RedrawInvalidateEraseFrame), Nothing, TextBoxFrameLeft,
       "The client area is validated; the text box's invalid frame stays and still brings a WM_PAINT.", ButtonValidated,
       TextBoxFrameKept},
      {"Validate, no erase", Redraw(RDW_VALIDATE | RDW_NOERASE, Before::RedrawInvalidateEraseFrame), Nothing,
       TextBoxFrameLeft, "As RDW_VALIDATE alone: the frame stays invalid.", ButtonValidated, TextBoxFrameKept},
      {"Validate, no frame",
       Redraw(RDW_VALIDATE | RDW_NOFRAME, Before::RedrawInvalidateEraseFrame),
       Nothing,
       {},
       "RDW_NOFRAME takes the pending frame away too.",
       NoFrameTakesFrame},
      {"Validate, no erase, no frame",
       Redraw(RDW_VALIDATE | RDW_NOERASE | RDW_NOFRAME, Before::RedrawInvalidateEraseFrame),
       Nothing,
       {},
       "",
       NoFrameTakesFrame},
      {"Validate, update now", Redraw(RDW_VALIDATE | RDW_UPDATENOW, Before::RedrawInvalidateEraseFrame), Nothing,
       Paint(D, Frame(D)), "What is left, the text box's frame, is painted at once.", ButtonValidated,
       "not established: it follows the text box's \"Validate\" row; if the frame stays, msg.c `WmChildPaintNc` "
       "shows RDW_UPDATENOW painting it at once."},
      {"Validate, no erase",
       Redraw(RDW_VALIDATE | RDW_NOERASE, Before::InvalidateRectErase),
       Nothing,
       {},
       "InvalidateRect touches no frame: nothing is left.",
       "same: InvalidateRect marks only the client area, which RDW_VALIDATE clears under any reading (the "
       "InvalidateRect and RedrawWindow pages); msg.c \"Paint\" after RDW_VALIDATE with RDW_NOERASE."},
      // Words that contradict themselves.
      {"No flag",
       Redraw(0),
       Nothing,
       {},
       "RedrawWindow is asked for nothing.",
       "same: ReactOS Tests 1 and 35 (nothing)."},
      {"Erase and no erase",
       Redraw(RDW_ERASE | RDW_NOERASE),
       Nothing,
       {},
       "Nothing invalid.",
       "same: ReactOS Test11 (nothing)."},
      {"Invalidate, erase and no erase",
       Redraw(RDW_INVALIDATE | RDW_ERASE | RDW_NOERASE),
       Paint(L, Erase(L)),
       {},
       "RDW_ERASE wins.",
       "same: ReactOS Test12 (an erase, one WM_PAINT)."},
      {"Invalidate and validate",
       Redraw(RDW_INVALIDATE | RDW_VALIDATE),
       Paint(L),
       {},
       "RDW_INVALIDATE wins.",
       "same: ReactOS Test15 (RDW_INVALIDATE wins, there with RDW_NOFRAME)."},
      // The internal paint: a WM_PAINT without an update region.
      {"Internal paint, update now",
       Redraw(RDW_INTERNALPAINT | RDW_UPDATENOW),
       Paint(D),
       {},
       "",
       "same, from the documentation only: the WM_PAINT page (UpdateWindow sends an internal WM_PAINT) and the "
       "RedrawWindow page (RDW_UPDATENOW paints before the call returns)."},
      {"No internal paint",
       Redraw(RDW_NOINTERNALPAINT, Before::RedrawInternalPaint),
       Nothing,
       {},
       "The pending internal paint is taken away, even without RDW_VALIDATE.",
       "not established: no Windows-run test; the RedrawWindow page lists RDW_NOINTERNALPAINT among the validation "
       "flags without saying it needs RDW_VALIDATE. That it works alone is Wine's answer."},
      {"Validate, no internal paint",
       Redraw(RDW_VALIDATE | RDW_NOINTERNALPAINT, Before::RedrawInternalPaint),
       Nothing,
       {},
       "",
       "same, from the documentation only: the RedrawWindow page (RDW_NOINTERNALPAINT suppresses any pending "
       "internal WM_PAINT)."},
      // InvalidateRect with the whole client area.
      {"InvalidateRect",
       {Request::InvalidateRect, 0, Before::Nothing},
       Paint(L),
       {},
       "Like RDW_INVALIDATE alone.",
       "same: the InvalidateRect page; ReactOS Test3 (RDW_INVALIDATE alone)."},
      {"InvalidateRect with Erase",
       {Request::InvalidateRectErase, 0, Before::Nothing},
       Paint(L, Erase(L)),
       {},
       "BeginPaint erases from inside WM_PAINT.",
       "same: the InvalidateRect and BeginPaint pages (BeginPaint erases); msg.c `WmSetFontButtonSeq` and "
       "`WmSetStyleButtonSeq`, and comctl32's `setstyle_seq`: a button repainted this way gets no frame message on "
       "Windows, where Wine's own tests mark one as \"FIXME: Wine sends it\"."},
      // The start-up word while another window still needs painting.
      {"Start-up flags",
       Redraw(StartUp, Before::FormInvalidated),
       Paint(L, FramedErase) + Paint(L, FramedErase),
       {},
       "RDW_ERASENOW waits while the form, which does not clip its children, has to paint. Invalidating the form "
       "reached both targets, frame and background: each paints later, the button first, as the windows lie.",
       ErasedInPaintMayGo + "Nothing during the call: msg.c \"EraseNow child\" (`WmEmptySeq`) and `WmParentPaintNc` "
                            "(invalidating a parent makes its children's frames and backgrounds invalid too)."},
      {"Start-up flags", Redraw(StartUp, Before::OtherTargetInvalidated),
       Frame(D) + Erase(D) + Paint(L) + Paint(L, FramedErase), Frame(D) + Erase(D) + Paint(L, FramedErase) + Paint(L),
       "The other target's pending paint changes nothing: only a parent holds RDW_ERASENOW back. The log has both "
       "targets' lines; each paints later, the button first, as the windows lie.",
       "not established: no Windows-run test has a sibling waiting; msg.c holds RDW_ERASENOW back only for a parent "
       "(\"EraseNow child\"). The other target's erase inside its WM_PAINT may be missing on some versions, as in "
       "its own row."},
  };
  return cases;
}
