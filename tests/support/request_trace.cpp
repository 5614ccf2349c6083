#include "support/request_trace.h"

#include <gtest/gtest.h>

#include "paint_trace/module1.h"
#include "support/message_pump.h"
#include "support/paint_witness.h"
#include "support/trace_log.h"

RequestTrace WithoutNumbers(const RequestTrace& trace) {
  return {WithoutNumbers(trace.During), WithoutNumbers(trace.Later)};
}

RequestTrace PressAndTrace(const Form1& form, ControlId button, std::chrono::milliseconds quiet,
                           std::chrono::milliseconds timeout, const std::function<void()>& onReturn) {
  SendMessageA(form.Control(Command3Id), BM_CLICK, 0, 0);
  const PaintWitness witness;
  const std::int32_t before = Module1::TraceCount;
  SendMessageA(form.Control(button), BM_CLICK, 0, 0);
  const std::int32_t returned = Module1::TraceCount;
  if (onReturn) onReturn();
  EXPECT_TRUE(PumpUntilQuiet(quiet, timeout, &form)) << "the painting did not settle";
  const std::vector<std::string> lines = LogLines(WindowText(form.Control(Text1Id)));
  EXPECT_EQ(lines.size(), static_cast<std::size_t>(Module1::TraceCount - before));
  EXPECT_TRUE(NumberedFrom(lines, before + 1));
  EXPECT_EQ(WithoutNumbers(lines), witness.Events()) << "the log says otherwise than the witness under the hook";
  RequestTrace trace;
  for (const std::string& line : lines) (LineNumber(line) <= returned ? trace.During : trace.Later).push_back(line);
  return trace;
}
