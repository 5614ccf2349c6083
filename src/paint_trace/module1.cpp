#include "paint_trace/module1.h"

#include <limits>
#include <string>

#include "paint_trace/trace_lines.h"

namespace Module1 {

LONG PrevProcCommand1 = 0;
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
  try {
    AppendLogLine(LogBox, buildLine());
  } catch (...) {
  }
}

WNDPROC PreviousProcedure(HWND hwnd) noexcept {
  const LONG saved = GetDlgCtrlID(hwnd) == Command1Id ? PrevProcCommand1 : PrevProcText2;
  return reinterpret_cast<WNDPROC>(saved);
}

}  // namespace

LRESULT CALLBACK TraceWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  const std::string_view name = TracedMessageName(message);
  if (!name.empty()) {
    const std::int32_t number = NextTraceNumber();
    WriteTraceLine([&] { return FormatSendLine(number, name); });
  }
  const LRESULT result = CallWindowProcA(PreviousProcedure(hwnd), hwnd, message, wParam, lParam);
  if (!name.empty()) {
    const std::int32_t number = NextTraceNumber();
    WriteTraceLine([&] { return FormatReturnLine(number, name, static_cast<std::int32_t>(result)); });
  }
  return result;
}

void AppendLogLine(HWND box, std::string_view line) {
  if (box == nullptr || !IsWindow(box)) return;
  std::string text;
  text.reserve(line.size() + 2);
  text.append(line).append("\r\n");
  // Whatever the user selected, the new line goes at the very end.
  const int end = GetWindowTextLengthA(box);
  SendMessageA(box, EM_SETSEL, static_cast<WPARAM>(end), static_cast<LPARAM>(end));
  SendMessageA(box, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(text.c_str()));
}

}  // namespace Module1
