#include "support/form_test.h"

#include <algorithm>

#include "main_window/message_pump.h"
#include "paint_trace/module1.h"
#include "paint_trace/trace_log.h"
#include "support/form_design.h"
#include "support/paint_witness.h"

FormDriver::FormDriver() : created_(std::chrono::steady_clock::now()), countBeforeStart_(Module1::TraceCount) {
  Module1::LogBox = nullptr;  // an earlier form attached a log of its own
  form_ = std::make_unique<Form1>(GetModuleHandleA(nullptr));
  form_->Show(SW_SHOWNORMAL);
}

FormDriver::~FormDriver() {
  form_.reset();
  PumpFor(std::chrono::milliseconds(20));
}

bool FormDriver::StartTracing() const {
  // The timer fires at once instead of after 600 ms, which only the test of that delay waits for; the log is still
  // cleared once the start-up painting is over.
  SetTimer(form_->Hwnd(), Form1::Timer1Id, 1, nullptr);
  if (!PumpUntilTracing(QuietFor, Patience, *form_)) return false;
  Click(Command3Id);
  return true;
}

bool FormDriver::Settled() const { return PumpUntilQuiet(QuietFor, Patience, form_.get()); }

void FormDriver::SetFlag(const char* name, bool checked) const {
  const HWND box = FindByCaption(form_->Hwnd(), name);
  if (IsChecked(box) != checked) Click(box);
}

std::vector<std::string> FormDriver::Lines() const { return LogLines(WindowText(Control(Text1Id))); }

RequestTrace WithoutNumbers(const RequestTrace& trace) {
  return {WithoutNumbers(trace.During), WithoutNumbers(trace.Later)};
}

RequestTrace FormDriver::Press(ControlId button, const std::function<void()>& onReturn) const {
  Click(Command3Id);
  return PressKeepingTheLog(button, onReturn);
}

RequestTrace FormDriver::PressKeepingTheLog(ControlId button, const std::function<void()>& onReturn) const {
  const auto kept = static_cast<std::ptrdiff_t>(Lines().size());
  const PaintWitness witness;
  const std::int32_t before = Module1::TraceCount;
  Click(button);
  const std::int32_t returned = Module1::TraceCount;
  if (onReturn) onReturn();
  EXPECT_TRUE(Settled()) << "the painting did not settle";
  const std::vector<std::string> all = Lines();
  const std::vector<std::string> lines(all.begin() + std::min(kept, static_cast<std::ptrdiff_t>(all.size())),
                                       all.end());
  EXPECT_EQ(lines.size(), static_cast<std::size_t>(Module1::TraceCount - before));
  EXPECT_TRUE(NumberedFrom(lines, before + 1));
  EXPECT_EQ(WithoutNumbers(lines), witness.Events()) << "the log says otherwise than the witness under the hook";
  RequestTrace trace;
  for (const std::string& line : lines) (LineNumber(line) <= returned ? trace.During : trace.Later).push_back(line);
  return trace;
}
