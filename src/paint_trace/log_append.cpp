// Appending to a visible edit box costs mostly the redraw of its scroll bar, about as much for fifty lines
// as for one, so lines are collected while the thread is busy and go into the box with one replace.
#include <chrono>
#include <string>
#include <utility>

#include "paint_trace/module1.h"

namespace Module1 {

namespace {

using Clock = std::chrono::steady_clock;

// Owns the thread's message-retrieval hook for the life of the process.
class GetMessageHook {
 public:
  GetMessageHook() = default;
  GetMessageHook(const GetMessageHook&) = delete;
  GetMessageHook& operator=(const GetMessageHook&) = delete;
  ~GetMessageHook() {
    if (hook_ != nullptr) UnhookWindowsHookEx(hook_);
  }
  void Install(HOOKPROC procedure) noexcept {
    if (hook_ == nullptr) hook_ = SetWindowsHookExA(WH_GETMESSAGE, procedure, nullptr, GetCurrentThreadId());
  }

 private:
  HHOOK hook_ = nullptr;
};

struct PendingLines {
  HWND Box = nullptr;
  std::string Text;         // whole lines, each with its CR LF
  Clock::time_point Since;  // when the oldest of them was collected
  UINT_PTR WakeTimer = 0;   // wakes an idle loop, so the last lines of a burst are not left waiting
};

PendingLines Pending;
GetMessageHook RetrievalHook;

// What the user can do or see next; collected lines must be in the log before any of these is handled.
constexpr bool IsInputTimerOrPaint(UINT message) noexcept {
  return (message >= WM_KEYFIRST && message <= WM_KEYLAST) || (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) ||
         (message >= WM_NCMOUSEMOVE && message <= WM_NCXBUTTONDBLCLK) ||
         (message >= WM_IME_STARTCOMPOSITION && message <= WM_IME_KEYLAST) ||
         (message >= WM_NCMOUSEHOVER && message <= WM_MOUSELEAVE) || message == WM_INPUT || message == WM_HOTKEY ||
         message == WM_TIMER || message == WM_PAINT || message == WM_SYNCPAINT;
}

bool Overdue() noexcept { return Clock::now() - Pending.Since >= std::chrono::milliseconds(MaxLineDelayMs); }

LRESULT CALLBACK FlushBeforeInputTimerOrPaint(int code, WPARAM wParam, LPARAM lParam) noexcept {
  if (code == HC_ACTION && !Pending.Text.empty()) {
    if (IsInputTimerOrPaint(reinterpret_cast<const MSG*>(lParam)->message) || Overdue()) FlushLog();
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace

void AppendLogLine(HWND box, std::string_view line) {
  if (box == nullptr || !IsWindow(box)) return;
  if (box != Pending.Box) FlushLog();
  if (Pending.Text.empty()) {
    RetrievalHook.Install(&FlushBeforeInputTimerOrPaint);
    Pending.Box = box;
    Pending.Since = Clock::now();
    Pending.WakeTimer = SetTimer(nullptr, 0, USER_TIMER_MINIMUM, nullptr);
  }
  Pending.Text.append(line).append("\r\n");
  if (Overdue()) FlushLog();
}

void FlushLog() noexcept {
  if (Pending.WakeTimer != 0) KillTimer(nullptr, Pending.WakeTimer);
  Pending.WakeTimer = 0;
  if (Pending.Text.empty()) return;
  // Taken out first: a line traced while the box takes these starts a batch of its own.
  const std::string text = std::move(Pending.Text);
  Pending.Text.clear();
  if (!IsWindow(Pending.Box)) return;
  // Whatever the user selected, the lines go at the very end; the wide length counts characters.
  const int end = GetWindowTextLengthW(Pending.Box);
  SendMessageA(Pending.Box, EM_SETSEL, static_cast<WPARAM>(end), static_cast<LPARAM>(end));
  SendMessageA(Pending.Box, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(text.c_str()));
}

}  // namespace Module1
