#include "main_window/paint_order_recorder.h"

#include <gtest/gtest.h>

#include "paint_trace/module1.h"
#include "support/message_pump.h"
#include "support/request_trace.h"
#include "support/trace_log.h"

namespace {

using namespace std::chrono_literals;

constexpr auto Quiet = 150ms;  // no traced message for this long: the platform is done painting
constexpr auto Patience = 5s;

bool IsChecked(HWND box) { return SendMessageA(box, BM_GETCHECK, 0, 0) == BST_CHECKED; }

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

void PaintOrderRecorder::Settle() const {
  EXPECT_TRUE(PumpUntilQuiet(Quiet, Patience, form_.get())) << "the painting did not settle";
}

Recording PaintOrderRecorder::Record(Target target, const RepaintRequest& request) {
  Press(target == Target::Button ? Option1Id : Option2Id);
  Settle();
  switch (request.First) {
    case Before::Nothing: break;
    case Before::InvalidateRectErase: Press(Prepare(Request::InvalidateRectErase, 0)); break;
    case Before::RedrawInvalidateEraseFrame:
      Press(Prepare(Request::RedrawWindow, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME));
      break;
    case Before::RedrawInternalPaint: Press(Prepare(Request::RedrawWindow, RDW_INTERNALPAINT)); break;
  }
  const RequestTrace trace = PressAndTrace(*form_, Prepare(request.Kind, request.Flags), Quiet, Patience);
  return {WithoutNumbers(trace.During), WithoutNumbers(trace.Later)};
}
