#include "paint_order/cases.h"

Evidence::Evidence(const std::string& said, std::vector<std::string> more) {
  const std::size_t colon = said.find(": ");
  Verdict = said.substr(0, colon);
  if (colon != std::string::npos) Notes.push_back(said.substr(colon + 2));
  Notes.insert(Notes.end(), more.begin(), more.end());
}

namespace {

constexpr std::int32_t StartUp = RDW_INVALIDATE | RDW_ERASE | RDW_ERASENOW | RDW_FRAME;

constexpr RepaintRequest Redraw(std::int32_t flags, Before first = Before::Nothing) {
  return {Request::RedrawWindow, flags, first};
}

// D: sent during the call; L: delivered later by the loop.
constexpr When D = When::During, L = When::Later;

const char TextBoxFrameKept[] =
    "not established: no Windows-run test validates a window whose frame is pending without RDW_NOFRAME. The "
    "RedrawWindow page says RDW_VALIDATE without a rectangle validates \"the entire window\", which would leave "
    "nothing; its RDW_NOFRAME entry allows the frame to stay, which is Wine's answer.";
const char NoFrameTakesFrame[] =
    "same: msg.c, a generic top-level window: \"EmptySeq\" after RDW_VALIDATE with RDW_NOFRAME, and \"Paint\" (a "
    "later RDW_INVALIDATE with RDW_UPDATENOW brings no frame message): RDW_NOFRAME takes the pending frame away; "
    "RDW_VALIDATE with neither rectangle nor region leaves no update region (\"validate everything\").";
const char EraseThenOnePaint[] =
    " (an erase and one WM_PAINT; the order is not recorded: that BeginPaint erases inside WM_PAINT is the BeginPaint "
    "page's).";
const char PushButtonErasesInPaint[] =
    "msg.c `WmSetStyleButtonSeq`, a classic button (a child push button repainted after BM_SETSTYLE: its WM_PAINT "
    "from the loop, the WM_ERASEBKGND inside it, optional there because \"Win9x doesn't send it\", and no "
    "WM_NCPAINT).";
const char NoEditBoxTest[] = "None of the Windows-run tests records the classic edit box's paint messages.";

std::vector<PaintOrderCase> MakeCases() {
  // BeginPaint drawing an invalid frame and erasing; the erase may be absent on Windows.
  const Rows FramedErase = Frame(L) + Optional(Erase(L));
  // A validation leaves the border's invalid frame alone unless RDW_NOFRAME says otherwise.
  const Rows TextBoxFrameLeft = Paint(L, Frame(L));
  // The sources ran on generic windows and, twice, on a classic push button; none records the classic edit box's
  // paint messages. These say what such sources cannot settle for the two controls.
  const std::string EraseInPaintMayBeAbsent =
      "may differ: the WM_ERASEBKGND inside WM_PAINT may be absent on Windows; msg.c marks it optional in "
      "`WmInvalidateErasePaint`, `WmInvalidateErasePaint2`, `WmChildPaintNc` and `WmParentPaintNc` (older copies "
      "required it).";
  const std::string NoBorderlessFrameTest =
      "none of the Windows-run tests calls RedrawWindow with RDW_FRAME on a window without a border; msg.c's "
      "`WmFirstDrawChildSeq2` shows a generic child without a border getting WM_NCPAINT, but from SetWindowPos on a "
      "parent that clips its children.";
  // A window whose WM_ERASEBKGND returns 0 stays marked for erasing: BeginPaint may erase again in its later paint.
  const std::string LaterPaintAfterErase =
      "The bare WM_PAINT later is shown only for a generic top-level window that erases with a white class brush "
      "(msg.c `WmPaint` after `WmInvalidateErase`); on the WM_ERASEBKGND page a window that returns 0 stays marked "
      "for erasing, and what the classic controls return on Windows is not known.";
  const std::string FrameThenEraseDuringCall =
      "during the call, msg.c `WmInvalidateErase` shows the frame, then the erase for a generic top-level window, and "
      "`WmInvalidateParentChild` for a generic child with a border.";
  const std::string ValidateMayLeaveFrame =
      "not established: the RedrawWindow page's RDW_NOFRAME entry (\"Suppresses any pending WM_NCPAINT messages\", to "
      "be used with RDW_VALIDATE) allows a reading in which RDW_VALIDATE without it leaves the frame message pending, "
      "and no Windows-run test invalidates the frame of a window without a border.";
  // The start-up word, alone or with a flag that changes nothing beside it under Wine: the trace is the same, and
  // so is what is not established; the evidence is what the flag's own test shows.
  const auto StartUpWith = [&](const char* title, std::int32_t flag, const char* remark,
                               const char* evidence) -> PaintOrderCase {
    return {title,
            Redraw(StartUp | flag),
            Frame(D) + Erase(D) + Paint(L),
            {},
            remark,
            Evidence("not established: " + NoBorderlessFrameTest, {LaterPaintAfterErase, evidence}),
            Evidence("not established: " + FrameThenEraseDuringCall, {LaterPaintAfterErase, evidence})};
  };
  return {
      // Each flag on its own.
      {"RDW_INVALIDATE alone",
       Redraw(RDW_INVALIDATE),
       Paint(L),
       {},
       "The client area is invalid but not marked for erasing.",
       "same: ReactOS Test3, a generic top-level window (one WM_PAINT, no erase, no frame message)."},
      {"RDW_INTERNALPAINT alone",
       Redraw(RDW_INTERNALPAINT),
       Paint(L),
       {},
       "No update region, yet one WM_PAINT.",
       "same: ReactOS Test7, a generic top-level window (no update rectangle, one WM_PAINT); the WM_PAINT page."},
      {"RDW_ERASE alone",
       Redraw(RDW_ERASE),
       Nothing,
       {},
       "Without RDW_INVALIDATE there is nothing to erase.",
       "same: ReactOS Test2, a generic top-level window (nothing); the RedrawWindow page."},
      {"RDW_VALIDATE alone",
       Redraw(RDW_VALIDATE),
       Nothing,
       {},
       "Nothing was invalid.",
       "same: ReactOS Tests 16, 19, 22 and 25, a generic top-level window (RDW_VALIDATE with one more flag: nothing)."},
      {"RDW_NOINTERNALPAINT alone",
       Redraw(RDW_NOINTERNALPAINT),
       Nothing,
       {},
       "Nothing was pending.",
       "same: ReactOS Test17, a generic top-level window (nothing)."},
      {"RDW_NOERASE alone",
       Redraw(RDW_NOERASE),
       Nothing,
       {},
       "Nothing was pending.",
       "same: ReactOS Test9, a generic top-level window (nothing)."},
      {"RDW_NOCHILDREN alone",
       Redraw(RDW_NOCHILDREN),
       Nothing,
       {},
       "Only says which windows a request reaches.",
       "same: ReactOS Tests 26 and 32, a generic top-level window with a child (nothing)."},
      {"RDW_ALLCHILDREN alone",
       Redraw(RDW_ALLCHILDREN),
       Nothing,
       {},
       "Only says which windows a request reaches.",
       "same: ReactOS Test29, a generic top-level window with a child (nothing)."},
      {"RDW_UPDATENOW alone",
       Redraw(RDW_UPDATENOW),
       Nothing,
       {},
       "Nothing is invalid, so there is nothing to paint.",
       "same: ReactOS Test23, a generic top-level window (nothing)."},
      {"RDW_ERASENOW alone",
       Redraw(RDW_ERASENOW),
       Nothing,
       {},
       "Nothing is invalid, so there is nothing to erase.",
       "same: ReactOS Test20, a generic top-level window (nothing)."},
      {"RDW_FRAME alone",
       Redraw(RDW_FRAME),
       Nothing,
       {},
       "Without RDW_INVALIDATE the frame is not invalidated.",
       "same: ReactOS Test5, a generic top-level window (nothing); the RedrawWindow page."},
      {"RDW_NOFRAME alone",
       Redraw(RDW_NOFRAME),
       Nothing,
       {},
       "Nothing was pending.",
       "same: ReactOS Test13, a generic top-level window (nothing)."},
      // The start-up word, and each flag added to it or taken from it.
      StartUpWith("Start-up flags", 0,
                  "RDW_ERASENOW: frame, then background, before the call returns; the client paint waits for the loop.",
                  "The frame and the erase come during the call only while the parents have nothing to paint (see the "
                  "rows *while* they do)."),
      {"Start-up without RDW_INVALIDATE",
       Redraw(StartUp & ~RDW_INVALIDATE),
       Nothing,
       {},
       "Nothing invalid: RDW_ERASE and RDW_FRAME do nothing.",
       "same: ReactOS Tests 2, 5 and 20, a generic top-level window (each flag alone: nothing); the RedrawWindow "
       "page."},
      StartUpWith("Start-up with RDW_INTERNALPAINT", RDW_INTERNALPAINT,
                  "The window is invalid anyway: still one WM_PAINT.",
                  "ReactOS Test8, a generic top-level window: beside RDW_INVALIDATE, RDW_INTERNALPAINT gives one "
                  "WM_PAINT, not two."),
      {"Start-up without RDW_ERASE",
       Redraw(StartUp & ~RDW_ERASE),
       Frame(D) + Paint(L),
       {},
       "Only the frame is due at once.",
       Evidence("not established: " + NoBorderlessFrameTest,
                {"For a generic top-level window: msg.c `WmInvalidateFull` (the frame message alone during the call, "
                 "the client area still invalid); ReactOS Test21 (no erase at all, one WM_PAINT)."}),
       "same: msg.c `WmInvalidateFull`, a generic top-level window (the frame message alone during the call, the "
       "client "
       "area still invalid); ReactOS Test21, a generic top-level window (no erase at all, one WM_PAINT). Nothing was "
       "marked for erasing, so the later paint does not depend on what the edit box's WM_ERASEBKGND returns."},
      StartUpWith(
          "Start-up with RDW_VALIDATE", RDW_VALIDATE, "Contradictory word; the invalidation wins.",
          "ReactOS Test15, a generic top-level window, shows RDW_INVALIDATE winning over RDW_VALIDATE only with "
          "RDW_NOFRAME; no test has RDW_ERASE, RDW_FRAME and RDW_ERASENOW beside RDW_VALIDATE."),
      StartUpWith("Start-up with RDW_NOINTERNALPAINT", RDW_NOINTERNALPAINT, "Concerns internal paints only.",
                  "ReactOS Test18, a generic top-level window: beside RDW_INVALIDATE, RDW_NOINTERNALPAINT leaves one "
                  "WM_PAINT."),
      StartUpWith("Start-up with RDW_NOERASE", RDW_NOERASE,
                  "Contradictory word (the documentation pairs RDW_NOERASE with RDW_VALIDATE); RDW_ERASE wins.",
                  "ReactOS Test12, a generic top-level window: RDW_ERASE wins over RDW_NOERASE."),
      StartUpWith(
          "Start-up with RDW_NOCHILDREN", RDW_NOCHILDREN, "The targets have no children: no change.",
          "ReactOS Tests 27 and 33, a generic top-level window with a child: with RDW_INVALIDATE, one WM_PAINT."),
      StartUpWith("Start-up with RDW_ALLCHILDREN", RDW_ALLCHILDREN, "The targets have no children: no change.",
                  "ReactOS Test30, a generic top-level window with a child: with RDW_INVALIDATE, one WM_PAINT."),
      {"Start-up with RDW_UPDATENOW",
       Redraw(StartUp | RDW_UPDATENOW),
       Paint(D, Frame(D) + Optional(Erase(D))),
       {},
       "RDW_UPDATENOW: the paint comes at once, and BeginPaint inside it draws the frame and erases.",
       Evidence("not established: " + NoBorderlessFrameTest,
                {"For a generic top-level window, msg.c `WmInvalidatePaint` and `WmInvalidateErasePaint` show the "
                 "frame message and the erase inside WM_PAINT, nothing before it, and the erase may be absent on "
                 "Windows."}),
       Evidence(EraseInPaintMayBeAbsent, {"msg.c `WmInvalidatePaint`, a generic top-level window: with RDW_UPDATENOW, "
                                          "RDW_ERASENOW sends nothing before the WM_PAINT."})},
      {"Start-up without RDW_ERASENOW",
       Redraw(StartUp & ~RDW_ERASENOW),
       Paint(L, FramedErase),
       {},
       "Nothing during the call; BeginPaint draws the frame and erases.",
       Evidence("not established: " + NoBorderlessFrameTest,
                {"For generic windows: nothing during the call (msg.c \"EmptySeq\" after RDW_INVALIDATE with "
                 "RDW_FRAME); later the frame message and the erase inside WM_PAINT (`WmInvalidateErasePaint2`), where "
                 "the erase may be absent on Windows."}),
       Evidence(EraseInPaintMayBeAbsent,
                {"Nothing during the call: msg.c \"EmptySeq\" after RDW_INVALIDATE with RDW_FRAME, a generic top-level "
                 "window. The loop's WM_PAINT with both inside it: `WmInvalidateErasePaint2`, a generic child with a "
                 "border."})},
      {"Start-up without RDW_FRAME",
       Redraw(StartUp & ~RDW_FRAME),
       Erase(D) + Paint(L),
       {},
       "The frame is not invalidated: no WM_NCPAINT.",
       Evidence(
           "not established: during the call msg.c `WmErase` shows the erase alone for a generic top-level window (no "
           "frame "
           "message without RDW_FRAME), and `WmInvalidateParentChild2` for the parent, a generic top-level window.",
           {LaterPaintAfterErase})},
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
       Evidence(std::string("same in part: ReactOS Test4, a generic top-level window") + EraseThenOnePaint,
                {PushButtonErasesInPaint}),
       Evidence(std::string("same in part: ReactOS Test4, a generic top-level window") + EraseThenOnePaint,
                {NoEditBoxTest})},
      {"Invalidate, frame",
       Redraw(RDW_INVALIDATE | RDW_FRAME),
       Paint(L, Frame(L)),
       {},
       "",
       Evidence("not established: " + NoBorderlessFrameTest,
                {"ReactOS Test6 shows the frame message and one WM_PAINT for a generic top-level window."}),
       "same: ReactOS Test6, a generic top-level window (a frame message although only the client area was "
       "invalidated, one WM_PAINT); the frame message inside WM_PAINT: msg.c `WmInvalidatePaint`, a generic top-level "
       "window."},
      {"Invalidate, erase now",
       Redraw(RDW_INVALIDATE | RDW_ERASENOW),
       Paint(L),
       {},
       "Nothing is marked for erasing, so RDW_ERASENOW has nothing to do.",
       "same: ReactOS Tests 21 and 36, a generic top-level window (nothing before the call returns, no erase at all, "
       "one "
       "WM_PAINT later)."},
      {"Invalidate, update now",
       Redraw(RDW_INVALIDATE | RDW_UPDATENOW),
       Paint(D),
       {},
       "",
       "same: ReactOS Test24, a generic top-level window (painted before the call returned, nothing left, no erase, no "
       "frame message)."},
      {"Invalidate, erase, update now",
       Redraw(RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW),
       Paint(D, Optional(Erase(D))),
       {},
       "",
       Evidence(EraseInPaintMayBeAbsent, {"msg.c `WmInvalidateErasePaint`, a generic top-level window, with RDW_FRAME "
                                          "as well: the paint before the call returns, the erase inside it."})},
      {"Invalidate, frame, update now",
       Redraw(RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW),
       Paint(D, Frame(D)),
       {},
       "",
       Evidence("not established: " + NoBorderlessFrameTest,
                {"For a generic top-level window msg.c `WmInvalidatePaint` shows the frame message inside WM_PAINT, "
                 "during the call."}),
       "same: msg.c `WmInvalidatePaint`, a generic top-level window (there with RDW_ERASENOW too): the frame message "
       "inside WM_PAINT, during the call."},
      {"Invalidate, erase, frame, update now",
       Redraw(RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW),
       Paint(D, Frame(D) + Optional(Erase(D))),
       {},
       "",
       Evidence("not established: " + NoBorderlessFrameTest,
                {"For a generic top-level window msg.c `WmInvalidateErasePaint` has exactly these flags: the frame "
                 "message and the erase inside WM_PAINT, where the erase may be absent on Windows."}),
       Evidence(EraseInPaintMayBeAbsent,
                {"msg.c `WmInvalidateErasePaint` has exactly these flags, on a generic top-level window."})},
      // Validating what an earlier request invalidated.
      {"Validate", Redraw(RDW_VALIDATE, Before::RedrawInvalidateEraseFrame), Nothing, TextBoxFrameLeft,
       "The client area is validated, and nothing is left to paint.", ValidateMayLeaveFrame, TextBoxFrameKept,
       "The client area is validated; the border's invalid frame stays and still brings a WM_PAINT."},
      {"Validate, no erase", Redraw(RDW_VALIDATE | RDW_NOERASE, Before::RedrawInvalidateEraseFrame), Nothing,
       TextBoxFrameLeft, "As RDW_VALIDATE alone: nothing is left.", ValidateMayLeaveFrame, TextBoxFrameKept,
       "As RDW_VALIDATE alone: the frame stays invalid."},
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
       Paint(D, Frame(D)), "Nothing is left to paint.",
       Evidence(ValidateMayLeaveFrame, {"If the frame message stays pending, RDW_UPDATENOW would send it now."}),
       "not established: it follows the text box's \"Validate\" row; if the frame stays, msg.c `WmChildPaintNc` shows "
       "RDW_UPDATENOW painting it at once for a generic child with a border.",
       "What is left, the frame, is painted at once."},
      {"Validate, no erase",
       Redraw(RDW_VALIDATE | RDW_NOERASE, Before::InvalidateRectErase),
       Nothing,
       {},
       "InvalidateRect touches no frame: nothing is left.",
       "same: msg.c, a generic top-level window: RDW_VALIDATE with neither rectangle nor region leaves no update "
       "region "
       "(\"validate everything\"), and \"Paint\" after RDW_VALIDATE with RDW_NOERASE has no erase; InvalidateRect "
       "marks "
       "only the client area (the InvalidateRect page)."},
      // Words that contradict themselves.
      {"No flag",
       Redraw(0),
       Nothing,
       {},
       "RedrawWindow is asked for nothing.",
       "same: ReactOS Tests 1 and 35, a generic top-level window (nothing)."},
      {"Erase and no erase",
       Redraw(RDW_ERASE | RDW_NOERASE),
       Nothing,
       {},
       "Nothing invalid.",
       "same: ReactOS Test11, a generic top-level window (nothing)."},
      {"Invalidate, erase and no erase",
       Redraw(RDW_INVALIDATE | RDW_ERASE | RDW_NOERASE),
       Paint(L, Erase(L)),
       {},
       "RDW_ERASE wins.",
       Evidence(std::string("same in part: ReactOS Test12, a generic top-level window") + EraseThenOnePaint,
                {PushButtonErasesInPaint}),
       Evidence(std::string("same in part: ReactOS Test12, a generic top-level window") + EraseThenOnePaint,
                {NoEditBoxTest})},
      {"Invalidate and validate",
       Redraw(RDW_INVALIDATE | RDW_VALIDATE),
       Paint(L),
       {},
       "RDW_INVALIDATE wins.",
       "same: ReactOS Test15, a generic top-level window (RDW_INVALIDATE wins, there with RDW_NOFRAME as well)."},
      // The internal paint: a WM_PAINT without an update region.
      {"Internal paint, update now",
       Redraw(RDW_INTERNALPAINT | RDW_UPDATENOW),
       Paint(D),
       {},
       "",
       "not established: no Windows-run test has the two flags together. ReactOS Test7, a generic top-level window, "
       "shows an internal paint sent by the UpdateWindow that follows RDW_INTERNALPAINT; the RedrawWindow page says "
       "RDW_UPDATENOW sends WM_PAINT \"if necessary\" before the call returns."},
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
       "not established: no Windows-run test validates with an internal paint pending (ReactOS Test19, a generic "
       "top-level window, has these flags with nothing pending). The RedrawWindow page: RDW_NOINTERNALPAINT "
       "\"Suppresses any pending internal WM_PAINT messages\"."},
      // InvalidateRect with the whole client area.
      {"InvalidateRect",
       {Request::InvalidateRect, 0, Before::Nothing},
       Paint(L),
       {},
       "Like RDW_INVALIDATE alone.",
       "same: msg.c `WmPaint` in `test_PeekMessage`, a generic top-level window (InvalidateRect without erase, then "
       "one WM_PAINT with nothing inside it); ReactOS Test3 (RDW_INVALIDATE alone), a generic top-level window."},
      {"InvalidateRect with Erase",
       {Request::InvalidateRectErase, 0, Before::Nothing},
       Paint(L, Erase(L)),
       {},
       "BeginPaint erases from inside WM_PAINT.",
       Evidence(std::string("same: ") + PushButtonErasesInPaint,
                {"What BM_SETSTYLE invalidates is not shown; the InvalidateRect and BeginPaint pages say "
                 "InvalidateRect with erase leads to this."}),
       "not established: none of the Windows-run tests records the classic edit box's paint messages. The "
       "InvalidateRect and BeginPaint pages say BeginPaint erases; msg.c `WmSetStyleButtonSeq` shows the erase inside "
       "WM_PAINT for a classic button, ReactOS Test4 an erase for a generic top-level window after RDW_INVALIDATE "
       "with RDW_ERASE, not InvalidateRect."},
      // The start-up word while another window still needs painting.
      {"Start-up flags",
       Redraw(StartUp, Before::FormInvalidated),
       Paint(L, FramedErase) + Paint(L, FramedErase),
       {},
       "RDW_ERASENOW waits while an ancestor that does not clip its children must paint: the group box and the form "
       "both must (see Left invalid), and this row cannot tell which holds it back. Each target paints later, frame "
       "and background.",
       "not established: the log has both targets' paints, and no Windows-run test shows a window without a border "
       "getting WM_NCPAINT when its parent is invalidated (msg.c `WmParentPaintNc` shows it for a generic child with a "
       "border). Nothing during the call: msg.c \"EraseNow child\" (`WmEmptySeq`), a generic child with a border whose "
       "parent does not clip its children. The erase inside each WM_PAINT may be absent on Windows (optional in "
       "`WmParentPaintNc`)."},
      {"Start-up flags",
       Redraw(StartUp, Before::OtherTargetInvalidated),
       Frame(D) + Erase(D) + Paint(L) + Paint(L, FramedErase),
       Frame(D) + Erase(D) + Paint(L, FramedErase) + Paint(L),
       "The other target's pending paint changes nothing: under Wine only a parent holds RDW_ERASENOW back. The log "
       "has both targets' lines; each paints later, this one first, as the windows lie.",
       "not established: no Windows-run test has a sibling waiting; msg.c holds RDW_ERASENOW back only for a parent "
       "(\"EraseNow child\", a generic child with a border). The other target's erase inside its WM_PAINT may be "
       "absent "
       "on Windows, as in its own row.",
       {},
       "The other target's pending paint changes nothing: under Wine only a parent holds RDW_ERASENOW back. The log "
       "has both targets' lines; each paints later, this one second, as the windows lie."},
  };
}

}  // namespace

// Made on first use: the test program's start-up asks for the table's size.
const std::vector<PaintOrderCase>& PaintOrderCases() {
  static const std::vector<PaintOrderCase> cases = MakeCases();
  return cases;
}
