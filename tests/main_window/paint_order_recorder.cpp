#include "main_window/paint_order_recorder.h"

#include <gtest/gtest.h>

#include "paint_trace/module1.h"
#include "support/form_design.h"
#include "support/message_pump.h"
#include "support/redraw_flags.h"

namespace {

ControlId TargetId(Target target) { return target == Target::Button ? Command1Id : Text2Id; }
Target Other(Target target) { return target == Target::Button ? Target::TextBox : Target::Button; }

bool HasUpdateRect(HWND hwnd) { return GetUpdateRect(hwnd, nullptr, FALSE) != FALSE; }

bool HasClientRegion(HWND hwnd) {
  const HRGN region = CreateRectRgn(0, 0, 0, 0);
  const int kind = GetUpdateRgn(hwnd, region, FALSE);
  DeleteObject(region);
  return kind == SIMPLEREGION || kind == COMPLEXREGION;
}

}  // namespace

PaintOrderRecorder::PaintOrderRecorder() { EXPECT_TRUE(form_.StartTracing()); }

ControlId PaintOrderRecorder::Prepare(Request kind, std::int32_t flags) const {
  if (kind == Request::RedrawWindow) {
    for (const RedrawFlag& flag : RedrawFlags) form_.SetFlag(flag.Name, (flags & flag.Value) != 0);
    EXPECT_EQ(form_.Form().RedrawFlags, flags);
    return Command2Id;
  }
  const bool erase = kind == Request::InvalidateRectErase;
  if (FormDriver::IsChecked(form_.Control(Check2Id)) != erase) form_.Click(Check2Id);
  return Command4Id;
}

void PaintOrderRecorder::Choose(Target target) const { form_.Click(target == Target::Button ? Option1Id : Option2Id); }

void PaintOrderRecorder::MakeFirst(Target target, Before first) const {
  switch (first) {
    case Before::Nothing: break;
    case Before::InvalidateRectErase: form_.Click(Prepare(Request::InvalidateRectErase, 0)); break;
    case Before::RedrawInvalidateEraseFrame: form_.Click(Prepare(Request::RedrawWindow, InvalidateEraseFrame)); break;
    case Before::RedrawInternalPaint: form_.Click(Prepare(Request::RedrawWindow, RDW_INTERNALPAINT)); break;
    case Before::OtherTargetInvalidated:
      Choose(Other(target));
      form_.Click(Prepare(Request::RedrawWindow, InvalidateEraseFrame));
      Choose(target);
      break;
    case Before::FormInvalidated: InvalidateRect(form_.Form().Hwnd(), nullptr, TRUE); break;
  }
}

// GetUpdateRgn gives the client part of a window's update region and GetUpdateRect counts its frame too, so an
// update rectangle without a client region is a frame alone. A frame beside an invalid client area, and an
// internal paint, cannot be read without taking them away.
std::string PaintOrderRecorder::LeftInvalid(Target target) const {
  const HWND hwnd = form_.Control(TargetId(target));
  std::string left;
  const auto add = [&left](const char* part) { left += (left.empty() ? "" : ", ") + std::string(part); };
  if (HasClientRegion(hwnd)) {
    add("client");
  } else if (HasUpdateRect(hwnd)) {
    add("frame");
  }
  if (HasUpdateRect(form_.Control(TargetId(Other(target))))) add(target == Target::Button ? "text box" : "button");
  if (HasUpdateRect(form_.Control(Frame1Id))) add("group box");
  if (HasUpdateRect(form_.Form().Hwnd())) add("form");
  return left.empty() ? "none" : left;
}

Recording PaintOrderRecorder::Record(Target target, const RepaintRequest& request) {
  Choose(target);
  EXPECT_TRUE(form_.Settled()) << "the painting did not settle";
  MakeFirst(target, request.First);
  Recording recording;
  const RequestTrace trace =
      form_.Press(Prepare(request.Kind, request.Flags), [&] { recording.LeftInvalid = LeftInvalid(target); });
  recording.Lines = WithoutNumbers(trace);
  return recording;
}
