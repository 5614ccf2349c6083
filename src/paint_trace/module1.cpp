#include "paint_trace/module1.h"

#include <limits>

#include "paint_trace/line_records.h"
#include "paint_trace/trace_lines.h"

namespace Module1 {

LONG PrevProcCommand1 = 0;
HWND HookedCommand1 = nullptr;
LONG PrevProcText2 = 0;
std::int32_t TraceCount = 0;
HWND LogBox = nullptr;

namespace {

// The counter sticks at its maximum instead of wrapping; the line is still written with it.
std::int32_t NextTraceNumber() noexcept {
  if (TraceCount < std::numeric_limits<std::int32_t>::max()) ++TraceCount;
  return TraceCount;
}

// A line that cannot be built or appended is dropped: the message itself must always go through.
template <typename BuildLine>
void WriteTraceLine(BuildLine buildLine) noexcept {
  if (LogBox == nullptr) return;  // nothing would be written: spare the building
  try {
    AppendLogLine(LogBox, buildLine());
  } catch (...) {
  }
}

// A comparison of handles: asking the window who it is would cost the hook a call on every message.
WNDPROC PreviousProcedure(HWND hwnd) noexcept {
  const LONG saved = hwnd == HookedCommand1 ? PrevProcCommand1 : PrevProcText2;
  return reinterpret_cast<WNDPROC>(saved);
}

}  // namespace

LRESULT CALLBACK TraceWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  const std::string_view name = TracedMessageName(message);
  if (!name.empty()) {
    const std::int32_t number = NextTraceNumber();
    NoteSent(hwnd, message, wParam, number);
    WriteTraceLine([&] { return FormatSendLine(number, name); });
  }
  const LRESULT result = CallWindowProcA(PreviousProcedure(hwnd), hwnd, message, wParam, lParam);
  if (!name.empty()) {
    const std::int32_t number = NextTraceNumber();
    NoteReturned(hwnd, number);
    WriteTraceLine([&] { return FormatReturnLine(number, name, static_cast<std::int32_t>(result)); });
  }
  return result;
}

}  // namespace Module1
