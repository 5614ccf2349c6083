#include "main_window/message_pump.h"

#include "main_window/form1.h"
#include "paint_trace/line_records.h"
#include "paint_trace/module1.h"

namespace {

using Clock = std::chrono::steady_clock;

int QuitMessages = 0;

void DispatchPending(const Form1* form) {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    // A closed form posts its quit message; the test counts it and goes on.
    if (message.message == WM_QUIT) {
      ++QuitMessages;
      continue;
    }
    DispatchFromLoop(message, form);
  }
}

// Wakes at least every few milliseconds, so conditions that do not come with a message are seen too.
void WaitForMessage(Clock::time_point deadline) {
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
  if (left > 0) MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(left < 10 ? left : 10), QS_ALLINPUT);
}

}  // namespace

void DispatchFromLoop(MSG& message, const Form1* form) {
  const Module1::LoopDispatch dispatch(message);
  if (form != nullptr && form->PreTranslateMessage(message)) return;
  TranslateMessage(&message);
  DispatchMessageA(&message);
}

void PumpFor(std::chrono::milliseconds duration, const Form1* form) {
  static_cast<void>(PumpUntil([] { return false; }, duration, form));
}

int QuitMessagesSeen() { return QuitMessages; }

bool PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout, const Form1* form) {
  const auto deadline = Clock::now() + timeout;
  for (;;) {
    DispatchPending(form);
    if (done()) return true;
    if (Clock::now() >= deadline) return false;
    WaitForMessage(deadline);
  }
}

bool PumpUntilQuiet(std::chrono::milliseconds quiet, std::chrono::milliseconds timeout, const Form1* form) {
  std::int32_t seen = Module1::TraceCount;
  auto lastChange = Clock::now();
  return PumpUntil(
      [&] {
        if (Module1::TraceCount != seen) {
          seen = Module1::TraceCount;
          lastChange = Clock::now();
        }
        return Clock::now() - lastChange >= quiet;
      },
      timeout, form);
}

bool PumpUntilTracing(std::chrono::milliseconds quiet, std::chrono::milliseconds timeout, const Form1& form) {
  // An earlier form's log may still be named there.
  const HWND log = form.Control(Text1Id);
  return PumpUntil([&] { return Module1::LogBox == log; }, timeout, &form) && PumpUntilQuiet(quiet, timeout, &form);
}

std::string WindowText(HWND hwnd) {
  std::string text(static_cast<std::size_t>(SendMessageA(hwnd, WM_GETTEXTLENGTH, 0, 0)) + 1, '\0');
  text.resize(static_cast<std::size_t>(
      SendMessageA(hwnd, WM_GETTEXT, static_cast<WPARAM>(text.size()), reinterpret_cast<LPARAM>(text.data()))));
  return text;
}
