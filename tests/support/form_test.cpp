#include "support/form_test.h"

#include "paint_trace/module1.h"
#include "paint_trace/trace_log.h"
#include "support/form_design.h"
#include "support/paint_witness.h"

BeforeTheForm::BeforeTheForm() : countBeforeStart_(Module1::TraceCount) {}

bool FormDriver::StartTracing() const {
  // The timer fires at once instead of after 600 ms, which only the test of that delay waits for; the log is still
  // cleared once the start-up painting is over.
  SetTimer(form_->Hwnd(), Form1::Timer1Id, 1, nullptr);
  return FormSession::StartTracing();
}

void FormDriver::SetFlag(const char* name, bool checked) const {
  const HWND box = FindByCaption(form_->Hwnd(), name);
  if (IsChecked(box) != checked) Click(box);
}

RequestTrace WithoutNumbers(const RequestTrace& trace) {
  return {WithoutNumbers(trace.During), WithoutNumbers(trace.Later)};
}

RequestTrace FormDriver::Press(ControlId button, const std::function<void()>& onReturn) const {
  Click(Command3Id);
  return PressKeepingTheLog(button, onReturn);
}

RequestTrace FormDriver::PressKeepingTheLog(ControlId button, const std::function<void()>& onReturn) const {
  const PaintWitness witness;
  const Pressed pressed = PressButton(button, onReturn, [this] { return Settled(); });
  EXPECT_TRUE(pressed.Settled) << "the painting did not settle";
  EXPECT_TRUE(pressed.Whole) << "the log does not hold every line traced, numbered on";
  std::vector<std::string> lines = pressed.During;
  lines.insert(lines.end(), pressed.Later.begin(), pressed.Later.end());
  EXPECT_EQ(WithoutNumbers(lines), witness.Events()) << "the log says otherwise than the witness under the hook";
  return {pressed.During, pressed.Later};
}
