#include "main_window/paint_order_recorder.h"

#include <gtest/gtest.h>

#include "paint_trace/module1.h"
#include "support/message_pump.h"

namespace {

using namespace std::chrono_literals;

constexpr auto Quiet = 150ms;  // no traced message for this long: the platform is done painting
constexpr auto Patience = 5s;

bool IsChecked(HWND box) { return SendMessageA(box, BM_GETCHECK, 0, 0) == BST_CHECKED; }

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

PaintOrderRecorder::PaintOrderRecorder() : form_(std::make_unique<Form1>(GetModuleHandleA(nullptr))) {
  Module1::LogBox = nullptr;
  form_->Show(SW_SHOWNORMAL);
  EXPECT_TRUE(PumpUntilTracing(Quiet, Patience, *form_));
}

PaintOrderRecorder::~PaintOrderRecorder() {
  form_.reset();
  PumpFor(20ms);
}

void PaintOrderRecorder::Press(ControlId button) const { SendMessageA(form_->Control(button), BM_CLICK, 0, 0); }

void PaintOrderRecorder::CheckFlags(std::int32_t flags) const {
  for (const FlagBox& box : Check1Boxes) {
    const bool wanted = (flags & ParseTag(box.Tag).value_or(0)) != 0;
    if (IsChecked(form_->FlagBoxControl(box.Index)) != wanted) {
      SendMessageA(form_->FlagBoxControl(box.Index), BM_CLICK, 0, 0);
    }
  }
  EXPECT_EQ(form_->RedrawFlags, flags);
}

ControlId PaintOrderRecorder::Prepare(Request kind, std::int32_t flags) const {
  if (kind == Request::RedrawWindow) {
    CheckFlags(flags);
    return Command2Id;
  }
  const bool erase = kind == Request::InvalidateRectErase;
  if (IsChecked(form_->Control(Check2Id)) != erase) Press(Check2Id);
  return Command4Id;
}

void PaintOrderRecorder::Choose(Target target) const { Press(target == Target::Button ? Option1Id : Option2Id); }

void PaintOrderRecorder::MakeFirst(Target target, Before first) const {
  switch (first) {
    case Before::Nothing: break;
    case Before::InvalidateRectErase: Press(Prepare(Request::InvalidateRectErase, 0)); break;
    case Before::RedrawInvalidateEraseFrame:
      Press(Prepare(Request::RedrawWindow, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME));
      break;
    case Before::RedrawInternalPaint: Press(Prepare(Request::RedrawWindow, RDW_INTERNALPAINT)); break;
    case Before::OtherTargetInvalidated:
      Choose(Other(target));
      Press(Prepare(Request::RedrawWindow, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME));
      Choose(target);
      break;
    case Before::FormInvalidated: InvalidateRect(form_->Hwnd(), nullptr, TRUE); break;
  }
}

// GetUpdateRgn gives the client part of a window's update region and GetUpdateRect counts its frame too, so an
// update rectangle without a client region is a frame alone. A frame beside an invalid client area, and an
// internal paint, cannot be read without taking them away.
std::string PaintOrderRecorder::LeftInvalid(Target target) const {
  const HWND hwnd = form_->Control(TargetId(target));
  std::string left;
  const auto add = [&left](const char* part) { left += (left.empty() ? "" : ", ") + std::string(part); };
  if (HasClientRegion(hwnd)) {
    add("client");
  } else if (HasUpdateRect(hwnd)) {
    add("frame");
  }
  if (HasUpdateRect(form_->Control(TargetId(Other(target))))) add(target == Target::Button ? "text box" : "button");
  if (HasUpdateRect(form_->Control(Frame1Id))) add("group box");
  if (HasUpdateRect(form_->Hwnd())) add("form");
  return left.empty() ? "none" : left;
}

void PaintOrderRecorder::Settle() const {
  EXPECT_TRUE(PumpUntilQuiet(Quiet, Patience, form_.get())) << "the painting did not settle";
}

Recording PaintOrderRecorder::Record(Target target, const RepaintRequest& request) {
  Choose(target);
  Settle();
  MakeFirst(target, request.First);
  Recording recording;
  const RequestTrace trace = PressAndTrace(*form_, Prepare(request.Kind, request.Flags), Quiet, Patience,
                                           [&] { recording.LeftInvalid = LeftInvalid(target); });
  recording.Lines = WithoutNumbers(trace);
  return recording;
}
