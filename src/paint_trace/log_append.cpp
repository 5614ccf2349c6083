// Appending to a visible edit box costs mostly its own repaint, about as much for fifty lines as for one, so
// lines are collected and go into the box with one replace: once they are due, or as soon as anything reaches
// the box, since only then could anyone see or change its text.
#include <algorithm>
#include <chrono>
#include <string>
#include <utility>

#include "paint_trace/module1.h"

namespace Module1 {

namespace {

using Clock = std::chrono::steady_clock;

// Tells the wake timer apart from any timer of the edit box's own.
constexpr UINT_PTR WakeTimerId = 0x4D6F;
// The window property that keeps the procedure the box had before ours.
constexpr char PreviousProcedure[] = "Moravane.LogBox.PreviousProcedure";

LRESULT CALLBACK LogBoxProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) noexcept;
LRESULT CALLBACK CheckDueLines(int code, WPARAM wParam, LPARAM lParam) noexcept;

// The thread's message-retrieval hook: a loop busy with posted messages never idles for the wake timer.
class RetrievalHook {
 public:
  RetrievalHook() = default;
  RetrievalHook(const RetrievalHook&) = delete;
  RetrievalHook& operator=(const RetrievalHook&) = delete;
  ~RetrievalHook() { Release(); }
  void Install() noexcept {
    if (hook_ == nullptr) hook_ = SetWindowsHookExA(WH_GETMESSAGE, &CheckDueLines, nullptr, GetCurrentThreadId());
  }
  void Release() noexcept {
    if (hook_ != nullptr) UnhookWindowsHookEx(hook_);
    hook_ = nullptr;
  }

 private:
  HHOOK hook_ = nullptr;
};

// The log box with LogBoxProc in its chain of procedures. The procedure it had is also kept on the box: a
// subclass put in front of ours later keeps ours in the chain after the feed has moved to another box.
class BoxSubclass {
 public:
  BoxSubclass() = default;
  BoxSubclass(const BoxSubclass&) = delete;
  BoxSubclass& operator=(const BoxSubclass&) = delete;
  ~BoxSubclass() { Release(); }
  HWND Box() const noexcept { return box_; }
  void Install(HWND box) noexcept {
    Release();
    box_ = box;
    previous_ = reinterpret_cast<LONG_PTR>(GetPropA(box, PreviousProcedure));
    if (previous_ != 0) return;  // ours is in its chain already
    previous_ = SetWindowLongPtrA(box, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&LogBoxProc));
    SetPropA(box, PreviousProcedure, reinterpret_cast<HANDLE>(previous_));
  }
  // Takes ours out of the chain if nobody went in front of it since.
  void Release() noexcept {
    if (IsWindow(box_) && GetWindowLongPtrA(box_, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&LogBoxProc)) {
      SetWindowLongPtrA(box_, GWLP_WNDPROC, previous_);
      RemovePropA(box_, PreviousProcedure);
    }
    box_ = nullptr;
    previous_ = 0;
  }
  LRESULT Forward(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) const noexcept {
    const LONG_PTR previous = hwnd == box_ ? previous_ : reinterpret_cast<LONG_PTR>(GetPropA(hwnd, PreviousProcedure));
    return CallWindowProcA(reinterpret_cast<WNDPROC>(previous), hwnd, message, wParam, lParam);
  }

 private:
  HWND box_ = nullptr;
  LONG_PTR previous_ = 0;
};

// What the box last took to paint, and to take the lines of the last batch: its pace at its present size.
struct Pace {
  double PaintMs = 0;
  double ReplaceMs = 0;
  std::size_t ReplacedLines = 0;

  // A paint costs the same for any batch, and a replace at least what the last one took and more for more
  // lines, so the guess errs on the long side.
  double FlushMs(std::size_t lines) const noexcept {
    const double more = ReplacedLines == 0 ? 1.0 : static_cast<double>(lines) / static_cast<double>(ReplacedLines);
    return PaintMs + ReplaceMs * std::max(1.0, more);
  }
};

// Lines on their way into the log, and what brings them there in time.
struct LogFeed {
  BoxSubclass Subclass;
  RetrievalHook Hook;
  std::string Pending;  // whole lines, each with its CR LF
  std::size_t PendingLines = 0;
  std::string Sending;       // the lines being put in; kept to reuse its memory
  Clock::time_point Oldest;  // when the oldest pending line was kept
  Pace BoxPace;
  bool TimerArmed = false;
  bool Flushing = false;
};

LogFeed Feed;

double MsSince(Clock::time_point then) noexcept {
  return std::chrono::duration<double, std::milli>(Clock::now() - then).count();
}

// How long lines may be collected: CollectLinesMs, or less when putting this many in and painting them would
// end past MaxLineDelayMs after the oldest; a large box takes long for every batch.
double CollectForMs(std::size_t lines) noexcept {
  return std::min<double>(CollectLinesMs, MaxLineDelayMs - Feed.BoxPace.FlushMs(lines));
}

bool Due() noexcept { return !Feed.Pending.empty() && MsSince(Feed.Oldest) >= CollectForMs(Feed.PendingLines); }

// Kept whole or not at all: the only allocation comes before anything is added.
bool Keep(std::string_view line) noexcept {
  const std::size_t needed = Feed.Pending.size() + line.size() + 2;
  if (needed > Feed.Pending.capacity()) {
    try {
      Feed.Pending.reserve(std::max(needed, 2 * Feed.Pending.capacity()));
    } catch (...) {
      return false;
    }
  }
  Feed.Pending.append(line).append("\r\n");
  ++Feed.PendingLines;
  return true;
}

// The caret goes to the very end, unless it is there already with nothing selected; the wide length counts
// characters.
void PutAtEnd(HWND box, const std::string& text) noexcept {
  const auto end = static_cast<DWORD>(GetWindowTextLengthW(box));
  DWORD start = 0, stop = 0;
  SendMessageA(box, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&stop));
  if (start != end || stop != end) SendMessageA(box, EM_SETSEL, end, static_cast<LPARAM>(end));
  SendMessageA(box, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(text.c_str()));
}

// Lines that reach the box during a flush wait for the flush that is running, which goes on until none is
// left, so they keep their order. Unless the box is painting already, it paints them now: a busy loop would
// hand out its paint only when nothing else is queued.
void Flush(bool paint) noexcept {
  if (Feed.Flushing) return;
  Feed.Flushing = true;
  const HWND box = Feed.Subclass.Box();
  const Clock::time_point start = Clock::now();
  std::size_t lines = 0;
  while (!Feed.Pending.empty()) {
    Feed.Sending.swap(Feed.Pending);
    lines += std::exchange(Feed.PendingLines, 0);
    if (IsWindow(box)) PutAtEnd(box, Feed.Sending);
    Feed.Sending.clear();
  }
  if (lines != 0) {
    Feed.BoxPace.ReplaceMs = MsSince(start);
    Feed.BoxPace.ReplacedLines = lines;
  }
  if (Feed.TimerArmed && IsWindow(box)) KillTimer(box, WakeTimerId);
  Feed.TimerArmed = false;
  Feed.Flushing = false;
  if (lines != 0 && paint && IsWindow(box)) UpdateWindow(box);
}

// The box is going, and with it its timer; lines still on their way have nowhere to go.
void ForgetBox() noexcept {
  Feed.Subclass.Release();
  Feed.Pending.clear();
  Feed.PendingLines = 0;
  Feed.TimerArmed = false;
}

void FlushIfDue() noexcept {
  if (Due()) Flush(true);
}

// The box's pace counts every paint, whoever asked for it.
LRESULT TimedPaint(HWND hwnd, WPARAM wParam, LPARAM lParam) noexcept {
  const Clock::time_point start = Clock::now();
  const LRESULT result = Feed.Subclass.Forward(hwnd, WM_PAINT, wParam, lParam);
  Feed.BoxPace.PaintMs = MsSince(start);
  return result;
}

// Whatever reaches the log, whoever sent it, finds every line in it first.
LRESULT CALLBACK LogBoxProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  const bool watched = hwnd == Feed.Subclass.Box();
  if (watched && message == WM_TIMER && wParam == WakeTimerId) {
    Flush(true);
    return 0;
  }
  if (watched) Flush(message != WM_PAINT);
  if (watched && message == WM_PAINT) return TimedPaint(hwnd, wParam, lParam);
  const LRESULT result = Feed.Subclass.Forward(hwnd, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    if (watched) ForgetBox();
    RemovePropA(hwnd, PreviousProcedure);
  }
  return result;
}

LRESULT CALLBACK CheckDueLines(int code, WPARAM wParam, LPARAM lParam) noexcept {
  if (code == HC_ACTION) FlushIfDue();
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace

void AppendLogLine(HWND box, std::string_view line) {
  if (box == nullptr || !IsWindow(box)) return;
  if (box != Feed.Subclass.Box()) {
    Flush(true);
    Feed.Subclass.Install(box);
    Feed.Hook.Install();
    Feed.BoxPace = {};  // another box, another pace
  }
  const bool first = Feed.Pending.empty();
  if (!Keep(line)) return;
  if (first) Feed.Oldest = Clock::now();
  if (!Feed.TimerArmed) {
    // An idle loop wakes in time for the first line.
    const auto wake = static_cast<UINT>(std::max(1.0, CollectForMs(1)));
    Feed.TimerArmed = SetTimer(box, WakeTimerId, wake, nullptr) != 0;
  }
  FlushIfDue();
}

void FlushLog() noexcept { Flush(true); }

void ReleaseLog() noexcept {
  Flush(true);
  Feed.Hook.Release();
  Feed.Subclass.Release();
}

}  // namespace Module1
