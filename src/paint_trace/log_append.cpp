// Appending to a visible edit box costs mostly its own repaint, about as much for fifty lines as for one, so the
// attached log's lines are collected and go into the box with one replace between two messages of the loop:
// once they are due, or as soon as anything reaches the box, since only then could anyone see or change its text.
#include <algorithm>
#include <chrono>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "paint_trace/line_marks.h"
#include "paint_trace/module1.h"
#include "paint_trace/trace_lines.h"

namespace Module1 {

namespace {

using Clock = std::chrono::steady_clock;

// Tells the wake timer apart from any timer of the edit box's own.
constexpr UINT_PTR WakeTimerId = 0x4D6F;
// The window property that keeps the procedure the box had before the feed's.
constexpr char PreviousProcedure[] = "Moravane.LogBox.PreviousProcedure";
// The feed's procedure answers this to the question whether it is in a box's chain.
constexpr LRESULT InTheChain = 0x4D6F7261;

UINT FeedQuestion() noexcept {
  static const UINT message = RegisterWindowMessageA("Moravane.LogBox.IsTheFeedInTheChain");
  return message;
}

LRESULT CALLBACK LogBoxProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) noexcept;
LRESULT CALLBACK CheckDueLines(int code, WPARAM wParam, LPARAM lParam) noexcept;

LRESULT ForwardAsBefore(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  const auto previous = reinterpret_cast<WNDPROC>(GetPropA(hwnd, PreviousProcedure));
  return CallWindowProcA(previous, hwnd, message, wParam, lParam);
}

// The thread's message-retrieval hook: a loop busy with posted messages never idles for the wake timer.
class RetrievalHook {
 public:
  RetrievalHook() noexcept : hook_(SetWindowsHookExA(WH_GETMESSAGE, &CheckDueLines, nullptr, GetCurrentThreadId())) {}
  RetrievalHook(const RetrievalHook&) = delete;
  RetrievalHook& operator=(const RetrievalHook&) = delete;
  ~RetrievalHook() {
    if (hook_ != nullptr) UnhookWindowsHookEx(hook_);
  }

 private:
  HHOOK hook_;
};

// The feed's procedure in the box's chain. Whether it is there is asked of the box itself: a subclass under it
// that leaves without looking cuts it out and leaves the property behind. It leaves the chain only if nothing
// went in front of it since; otherwise it stays, passing every message on, until the box goes.
class BoxSubclass {
 public:
  explicit BoxSubclass(HWND box) noexcept : box_(box) {
    if (SendMessageA(box, FeedQuestion(), 0, 0) != InTheChain) {
      SetPropA(box, PreviousProcedure, reinterpret_cast<HANDLE>(GetWindowLongPtrA(box, GWLP_WNDPROC)));
      SetWindowLongPtrA(box, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&LogBoxProc));
    }
    previous_ = reinterpret_cast<WNDPROC>(GetPropA(box, PreviousProcedure));
  }
  BoxSubclass(const BoxSubclass&) = delete;
  BoxSubclass& operator=(const BoxSubclass&) = delete;
  ~BoxSubclass() {
    if (!IsWindow(box_) || GetWindowLongPtrA(box_, GWLP_WNDPROC) != reinterpret_cast<LONG_PTR>(&LogBoxProc)) return;
    SetWindowLongPtrA(box_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous_));
    RemovePropA(box_, PreviousProcedure);
  }
  HWND Box() const noexcept { return box_; }
  // Kept here: a property is looked up anew for every message.
  LRESULT Forward(UINT message, WPARAM wParam, LPARAM lParam) const noexcept {
    return CallWindowProcA(previous_, box_, message, wParam, lParam);
  }

 private:
  HWND box_;
  WNDPROC previous_ = nullptr;
};

double MsSince(Clock::time_point then) noexcept {
  return std::chrono::duration<double, std::milli>(Clock::now() - then).count();
}

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

  // CollectLinesMs, or less so that the batch is on screen MaxLineDelayMs after its oldest line, but never less than
  // a third of what its last batch took, so that a box too slow for that keeps batching: a slower box gets larger
  // batches, never smaller. Not of what the next batch will take, which grows with the lines that wait.
  double CollectForMs(std::size_t lines) const noexcept {
    return std::max(std::min<double>(CollectLinesMs, MaxLineDelayMs - FlushMs(lines)), (PaintMs + ReplaceMs) / 3);
  }
};

// The attached log's lines on their way into its box, and what brings them there in time.
class LogFeed {
 public:
  explicit LogFeed(HWND box) noexcept
      : subclass_(box), marksTop_(static_cast<int>(subclass_.Forward(EM_GETFIRSTVISIBLELINE, 0, 0))) {}
  LogFeed(const LogFeed&) = delete;
  LogFeed& operator=(const LogFeed&) = delete;
  ~LogFeed() {
    if (timerArmed_) KillTimer(Box(), WakeTimerId);
  }

  HWND Box() const noexcept { return subclass_.Box(); }
  bool Idle() const noexcept { return pending_.empty() && !flushing_ && !closing_; }

  // The numbers of the lines the feed put in last, while nothing else has changed the box's text since.
  KnownLines Known() const noexcept {
    const bool intact =
        tail_.Length == GetWindowTextLengthW(Box()) && tail_.Lines == subclass_.Forward(EM_GETLINECOUNT, 0, 0);
    return intact ? KnownLines{tail_.FirstLine, &tail_.Numbers} : KnownLines{};
  }

  // Kept whole or not at all: the only allocation comes before anything is added. An idle loop wakes for the
  // batch; a busy one finds it due when it next takes a message.
  void Keep(std::string_view line) noexcept {
    if (closing_) return;
    const std::size_t needed = pending_.size() + line.size() + 2;
    if (needed > pending_.capacity()) {
      try {
        pending_.reserve(std::max(needed, 2 * pending_.capacity()));
      } catch (...) {
        return;
      }
    }
    if (pending_.empty()) oldest_ = Clock::now();
    pending_.append(line).append("\r\n");
    ++pendingLines_;
    WakeInTime();
  }

  void FlushIfDue() noexcept {
    if (!pending_.empty() && MsSince(oldest_) >= pace_.CollectForMs(pendingLines_)) Flush(true);
  }

  void Flush(bool paint) noexcept;
  void RememberTail(bool follows, int firstLine) noexcept;
  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam) noexcept;

 private:
  // The box is going: lines still on their way have nowhere to go, and none is put into it any more.
  void Close() noexcept {
    closing_ = true;
    pending_.clear();
    pendingLines_ = 0;
  }
  LRESULT TimedPaint(WPARAM wParam, LPARAM lParam) noexcept;

  // More lines make the batch dearer and so due sooner: the timer is brought forward, never put back.
  void WakeInTime() noexcept {
    const auto due = oldest_ + std::chrono::duration_cast<Clock::duration>(
                                   std::chrono::duration<double, std::milli>(pace_.CollectForMs(pendingLines_)));
    if (timerArmed_ && due + std::chrono::milliseconds(1) > wakeAt_) return;
    const auto wake =
        static_cast<UINT>(std::max(1.0, std::chrono::duration<double, std::milli>(due - Clock::now()).count()));
    timerArmed_ = SetTimer(Box(), WakeTimerId, wake, nullptr) != 0;
    wakeAt_ = due;
  }

  BoxSubclass subclass_;
  RetrievalHook hook_;
  std::string pending_;  // whole lines, each with its CR LF
  std::size_t pendingLines_ = 0;
  std::string sending_;       // the lines being put in; kept to reuse its memory
  Clock::time_point oldest_;  // when the oldest pending line was kept
  Clock::time_point wakeAt_;  // when the armed timer is due
  Pace pace_;
  bool timerArmed_ = false;
  bool flushing_ = false;
  bool closing_ = false;
  bool clicked_ = false;  // a click in the box is being handled
  int marksTop_;          // the first visible line when the margin's marks were last drawn
  // The last lines the feed put in, and the box's length and line count just after: a line's mark then needs no
  // reading back, which costs the box a walk through all its lines.
  struct {
    int FirstLine = 0;
    std::vector<std::int32_t> Numbers;
    int Length = -1;
    LRESULT Lines = -1;
  } tail_;
};

// The attached log's state: made when the log is attached, let go of with its box or the form. A call into the
// feed holds it too, for the box may go while its messages are handled.
std::shared_ptr<LogFeed> Feed;

// Whether the last line is in view: the scroll bar's page reaches its end, or there is nothing to scroll.
bool ViewsTheEnd(HWND box) noexcept {
  SCROLLINFO info{};
  info.cbSize = sizeof info;
  info.fMask = SIF_ALL;
  if (!GetScrollInfo(box, SB_VERT, &info)) return true;
  return info.nPos + static_cast<int>(info.nPage) > info.nMax;
}

// Whether the box's caret sits at this character: EM_GETSEL gives a selection's lower end first, wherever its caret.
bool CaretAt(HWND box, DWORD index) noexcept {
  POINT caret{};
  if (GetFocus() != box || !GetCaretPos(&caret)) return false;
  const LRESULT at = SendMessageA(box, EM_POSFROMCHAR, index, 0);
  return at != -1 && caret.x == static_cast<short>(LOWORD(at)) && caret.y == static_cast<short>(HIWORD(at));
}

// Lines go in at the very end. A reader there with nothing selected follows them; any other keeps the view and the
// selection, as does one whose click is being handled, since the click was aimed at what was shown. A caret at the
// end stays there, so that scrolling back down follows again. The wide length counts characters.
void PutAtEnd(HWND box, const std::string& text, bool holdView) noexcept {
  const auto end = static_cast<DWORD>(GetWindowTextLengthW(box));
  DWORD start = 0, stop = 0;
  SendMessageA(box, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&stop));
  const bool atEnd = start == end && stop == end;
  if (atEnd && !holdView && ViewsTheEnd(box)) {
    SendMessageA(box, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(text.c_str()));
    return;
  }
  const LRESULT top = SendMessageA(box, EM_GETFIRSTVISIBLELINE, 0, 0);
  const bool leftwards = start != stop && CaretAt(box, start);
  if (!atEnd) SendMessageA(box, EM_SETSEL, end, static_cast<LPARAM>(end));
  SendMessageA(box, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(text.c_str()));
  if (!atEnd) SendMessageA(box, EM_SETSEL, leftwards ? stop : start, static_cast<LPARAM>(leftwards ? start : stop));
  SendMessageA(box, EM_LINESCROLL, 0, top - SendMessageA(box, EM_GETFIRSTVISIBLELINE, 0, 0));
}

// Lines that reach the box during a flush wait for the flush that is running, which goes on until none is
// left, so they keep their order. Unless the box is painting already, it paints them now: a busy loop would
// hand out its paint only when nothing else is queued.
void LogFeed::Flush(bool paint) noexcept {
  if (flushing_ || closing_) return;
  flushing_ = true;
  const Clock::time_point start = Clock::now();
  std::size_t lines = 0;
  while (!pending_.empty()) {
    sending_.swap(pending_);
    lines += std::exchange(pendingLines_, 0);
    const bool follows = Known().Numbers != nullptr || GetWindowTextLengthW(Box()) == 0;
    const auto firstLine = static_cast<int>(subclass_.Forward(EM_GETLINECOUNT, 0, 0)) - 1;
    PutAtEnd(Box(), sending_, clicked_);
    RememberTail(follows, firstLine);
    sending_.clear();
  }
  if (lines != 0) pace_ = {pace_.PaintMs, MsSince(start), lines};
  if (timerArmed_) KillTimer(Box(), WakeTimerId);
  timerArmed_ = false;
  flushing_ = false;
  if (lines != 0 && paint && !closing_) UpdateWindow(Box());
}

// The box's last lines are the ones just sent, at firstLine on. Unless the text before them was all the feed's own,
// the first of them may have joined text typed at the end, and is left to be read back. Enough are kept to fill any
// view.
void LogFeed::RememberTail(bool follows, int firstLine) noexcept {
  constexpr std::size_t Kept = 512;
  try {
    if (!follows || tail_.FirstLine + static_cast<int>(tail_.Numbers.size()) != firstLine) {
      tail_.Numbers.clear();
      tail_.FirstLine = firstLine;
    }
    for (std::size_t start = 0; start < sending_.size();) {
      const std::size_t end = sending_.find("\r\n", start);
      const std::optional<TraceLine> line = ParseTraceLine(std::string_view(sending_).substr(start, end - start));
      tail_.Numbers.push_back(start == 0 && !follows ? KnownLines::ReadBack : line ? line->Number : 0);
      start = end + 2;
    }
    if (tail_.Numbers.size() > Kept) {
      const std::size_t dropped = tail_.Numbers.size() - Kept;
      tail_.Numbers.erase(tail_.Numbers.begin(), tail_.Numbers.begin() + static_cast<std::ptrdiff_t>(dropped));
      tail_.FirstLine += static_cast<int>(dropped);
    }
    tail_.Length = GetWindowTextLengthW(Box());
    tail_.Lines = subclass_.Forward(EM_GETLINECOUNT, 0, 0);
  } catch (...) {
    tail_.Length = -1;
  }
}

// The box's pace counts every paint that paints something, whoever asked for it, and the marks drawn beside it.
// The box scrolls its text alone, so once it has scrolled the whole margin is drawn anew; moving the margin's pixels
// along would cost Wine's box more than its paint.
LRESULT LogFeed::TimedPaint(WPARAM wParam, LPARAM lParam) noexcept {
  RECT update{};
  if (!GetUpdateRect(Box(), &update, FALSE)) return subclass_.Forward(WM_PAINT, wParam, lParam);
  const Clock::time_point start = Clock::now();
  const LRESULT result = subclass_.Forward(WM_PAINT, wParam, lParam);
  const auto top = static_cast<int>(subclass_.Forward(EM_GETFIRSTVISIBLELINE, 0, 0));
  if (std::exchange(marksTop_, top) != top) GetClientRect(Box(), &update);
  DrawLineMarks(Box(), update.top, update.bottom, Known());
  pace_.PaintMs = MsSince(start);
  return result;
}

// Whatever reaches the log, whoever sent it, finds every line in it first.
LRESULT LogFeed::Handle(UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  switch (message) {
    case WM_TIMER:
      if (wParam != WakeTimerId) break;
      Flush(true);
      return 0;
    case WM_PAINT: Flush(false); return TimedPaint(wParam, lParam);
    case WM_DESTROY: Close(); break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN: {
      const bool outer = !std::exchange(clicked_, true);
      Flush(true);
      const LRESULT result = subclass_.Forward(message, wParam, lParam);
      if (outer) clicked_ = false;
      return result;
    }
  }
  Flush(true);
  return subclass_.Forward(message, wParam, lParam);
}

LRESULT CALLBACK LogBoxProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  if (message == FeedQuestion()) return InTheChain;
  const std::shared_ptr<LogFeed> feed = Feed != nullptr && Feed->Box() == hwnd ? Feed : nullptr;
  if (message == WM_NCDESTROY) {
    const LRESULT result = ForwardAsBefore(hwnd, message, wParam, lParam);
    if (feed != nullptr && feed == Feed) Feed.reset();
    RemovePropA(hwnd, PreviousProcedure);
    return result;
  }
  return feed != nullptr ? feed->Handle(message, wParam, lParam) : ForwardAsBefore(hwnd, message, wParam, lParam);
}

LRESULT CALLBACK CheckDueLines(int code, WPARAM wParam, LPARAM lParam) noexcept {
  if (code == HC_ACTION && Feed != nullptr) std::shared_ptr<LogFeed>(Feed)->FlushIfDue();
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace

void AttachLog(HWND box) noexcept {
  ReleaseLog();
  LogBox = box;
  try {
    Feed = std::make_shared<LogFeed>(box);
  } catch (...) {
    // Without a feed each line goes into the box on its own.
  }
}

void AppendLogLine(HWND box, std::string_view line) {
  if (box == nullptr || !IsWindow(box)) return;
  if (Feed != nullptr && Feed->Box() == box) {
    Feed->Keep(line);
  } else {
    PutAtEnd(box, std::string(line).append("\r\n"), false);
  }
}

void MarkCallReturned() noexcept {
  if (Feed != nullptr && Feed->Idle()) DrawLastLineMarks(Feed->Box(), Feed->Known());
}

void FlushLog() noexcept {
  if (Feed != nullptr) std::shared_ptr<LogFeed>(Feed)->Flush(true);
}

void ReleaseLog() noexcept {
  FlushLog();
  Feed.reset();
}

}  // namespace Module1
