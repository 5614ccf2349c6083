#include "paint_order/form_session.h"

#include <algorithm>

#include "main_window/message_pump.h"
#include "paint_trace/line_records.h"
#include "paint_trace/module1.h"
#include "paint_trace/trace_log.h"

namespace {

ControlId TargetId(Target target) { return target == Target::Button ? Command1Id : Text2Id; }
Target Other(Target target) { return target == Target::Button ? Target::TextBox : Target::Button; }

bool HasUpdateRect(HWND hwnd) { return GetUpdateRect(hwnd, nullptr, FALSE) != FALSE; }

BOOL CALLBACK FindUpdateRect(HWND window, LPARAM found) {
  if (!HasUpdateRect(window)) return TRUE;
  *reinterpret_cast<bool*>(found) = true;
  return FALSE;
}

bool HasClientRegion(HWND hwnd) {
  const HRGN region = CreateRectRgn(0, 0, 0, 0);
  const int kind = GetUpdateRgn(hwnd, region, FALSE);
  DeleteObject(region);
  return kind == SIMPLEREGION || kind == COMPLEXREGION;
}

bool IsChecked(HWND box) { return SendMessageA(box, BM_GETCHECK, 0, 0) == BST_CHECKED; }

}  // namespace

FormSession::FormSession(int showCommand) {
  Module1::LogBox = nullptr;  // an earlier form attached a log of its own
  form_ = std::make_unique<Form1>(GetModuleHandleA(nullptr));
  form_->Show(showCommand);
}

FormSession::~FormSession() {
  form_.reset();
  PumpFor(std::chrono::milliseconds(20));
}

bool FormSession::StartTracing() const {
  if (!PumpUntilTracing(QuietFor, Patience, *form_)) return false;
  Click(Command3Id);
  return true;
}

bool FormSession::Settled() const { return PumpUntilQuiet(QuietFor, Patience, form_.get()); }

void FormSession::SetFlags(std::int32_t flags) const {
  for (const FlagBox& box : Check1Boxes) {
    const HWND control = form_->FlagBoxControl(box.Index);
    const bool wanted = (flags & ParseTag(box.Tag).value_or(0)) != 0;
    if (IsChecked(control) != wanted) SendMessageA(control, BM_CLICK, 0, 0);
  }
}

std::vector<std::string> FormSession::Lines() const { return LogLines(WindowText(Control(Text1Id))); }

ControlId FormSession::Prepare(Request kind, std::int32_t flags) const {
  if (kind == Request::RedrawWindow) {
    SetFlags(flags);
    return Command2Id;
  }
  if (IsChecked(Control(Check2Id)) != (kind == Request::InvalidateRectErase)) Click(Check2Id);
  return Command4Id;
}

void FormSession::Choose(Target target) const { Click(target == Target::Button ? Option1Id : Option2Id); }

void FormSession::MakeFirst(Target target, Before first) const {
  switch (first) {
    case Before::Nothing: break;
    case Before::InvalidateRectErase: Click(Prepare(Request::InvalidateRectErase, 0)); break;
    case Before::RedrawInvalidateEraseFrame: Click(Prepare(Request::RedrawWindow, InvalidateEraseFrame)); break;
    case Before::RedrawInternalPaint: Click(Prepare(Request::RedrawWindow, RDW_INTERNALPAINT)); break;
    case Before::OtherTargetInvalidated:
      Choose(Other(target));
      Click(Prepare(Request::RedrawWindow, InvalidateEraseFrame));
      Choose(target);
      break;
    case Before::FormInvalidated: InvalidateRect(form_->Hwnd(), nullptr, TRUE); break;
  }
}

// GetUpdateRgn gives the client part of a window's update region and GetUpdateRect counts its frame too, so an
// update rectangle without a client region is a frame alone. A frame beside an invalid client area, and an
// internal paint, cannot be read without taking them away.
std::string FormSession::LeftInvalid(Target target) const {
  const HWND hwnd = Control(TargetId(target));
  std::string left;
  const auto add = [&left](const char* part) { left += (left.empty() ? "" : ", ") + std::string(part); };
  if (HasClientRegion(hwnd)) {
    add("client");
  } else if (HasUpdateRect(hwnd)) {
    add("frame");
  }
  if (HasUpdateRect(Control(TargetId(Other(target))))) add(TargetName(Other(target)));
  if (HasUpdateRect(Control(Frame1Id))) add("group box");
  if (HasUpdateRect(form_->Hwnd())) add("form");
  return left.empty() ? "none" : left;
}

// What disturbs a take while it is made: input reaching the form's thread, the form losing the activation, or the
// system telling its windows that colours, theme, display, settings or DPI changed, after which they repaint whole.
class FormSession::Watch {
 public:
  explicit Watch(HWND form)
      : form_(form),
        getMessage_(SetWindowsHookExA(WH_GETMESSAGE, OnGetMessage, nullptr, GetCurrentThreadId())),
        callWndProc_(SetWindowsHookExA(WH_CALLWNDPROC, OnCallWndProc, nullptr, GetCurrentThreadId())) {
    GetCursorPos(&cursor_);
    current = this;
  }
  Watch(const Watch&) = delete;
  Watch& operator=(const Watch&) = delete;
  ~Watch() {
    current = nullptr;
    if (getMessage_ != nullptr) UnhookWindowsHookEx(getMessage_);
    if (callWndProc_ != nullptr) UnhookWindowsHookEx(callWndProc_);
  }
  // Empty while nothing disturbed the take; input still queued counts, as it would come in the next one.
  std::string Disturbance() const {
    if (getMessage_ == nullptr || callWndProc_ == nullptr) return "its messages could not be watched";
    if (disturbance_.empty() && (GetQueueStatus(QS_INPUT) >> 16) != 0) return "input came to its window";
    return disturbance_;
  }

 private:
  static LRESULT CALLBACK OnGetMessage(int code, WPARAM wParam, LPARAM lParam) noexcept {
    if (code == HC_ACTION && current != nullptr) current->Seen(*reinterpret_cast<const MSG*>(lParam), true);
    return CallNextHookEx(nullptr, code, wParam, lParam);
  }
  static LRESULT CALLBACK OnCallWndProc(int code, WPARAM wParam, LPARAM lParam) noexcept {
    if (code == HC_ACTION && current != nullptr) {
      const auto& sent = *reinterpret_cast<const CWPSTRUCT*>(lParam);
      current->Seen({sent.hwnd, sent.message, sent.wParam, sent.lParam, 0, {}}, false);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
  }
  // Input is queued; BM_CLICK sends a button the mouse's messages itself.
  void Seen(const MSG& message, bool queued) noexcept {
    if (disturbance_.empty()) disturbance_ = WhatDisturbs(message, queued);
  }
  const char* WhatDisturbs(const MSG& message, bool queued) const noexcept {
    switch (message.message) {
      case WM_SYSCOLORCHANGE: return "the system colours changed (WM_SYSCOLORCHANGE)";
      case WM_THEMECHANGED: return "the theme changed (WM_THEMECHANGED)";
      case WM_DISPLAYCHANGE: return "the display changed (WM_DISPLAYCHANGE)";
      case WM_SETTINGCHANGE: return "a system setting changed (WM_SETTINGCHANGE)";
      case WM_DPICHANGED: return "the DPI changed (WM_DPICHANGED)";
      case WM_ACTIVATEAPP: return message.wParam == FALSE ? "its window lost the activation" : "";
      case WM_ACTIVATE:
        return message.hwnd == form_ && LOWORD(message.wParam) == WA_INACTIVE ? "its window lost the activation" : "";
      // The system moves the mouse over a window that changed beneath it, where the cursor stays.
      case WM_MOUSEMOVE:
      case WM_NCMOUSEMOVE:
        return queued && (message.pt.x != cursor_.x || message.pt.y != cursor_.y) ? "the mouse moved" : "";
      default: break;
    }
    if (!queued) return "";
    const bool key = message.message >= WM_KEYFIRST && message.message <= WM_KEYLAST;
    const bool mouse = (message.message >= WM_MOUSEFIRST && message.message <= WM_MOUSELAST) ||
                       (message.message >= WM_NCMOUSEMOVE && message.message <= WM_NCXBUTTONDBLCLK);
    return key ? "a key was pressed" : mouse ? "the mouse was clicked" : "";
  }

  static inline Watch* current = nullptr;  // the hooks of the thread report to the watch of the take being made
  HWND form_;
  HHOOK getMessage_, callWndProc_;
  POINT cursor_{};
  std::string disturbance_;
};

namespace {

constexpr std::chrono::milliseconds Bound{2000};  // a row still painting after this ends, and says so
constexpr int MostTakes = 6;

struct Made {
  Module1::RequestKind Kind;
  bool OnCommand1;
  std::int32_t Argument;
};

std::string Describe(const Made& made) {
  const std::string on = made.OnCommand1 ? " on the button" : " on the text box";
  if (made.Kind == Module1::RequestKind::RedrawWindow) return "RedrawWindow " + FlagWord(made.Argument) + on;
  return std::string("InvalidateRect with erase ") + (made.Argument != 0 ? "TRUE" : "FALSE") + on;
}

// The requests the form must make for one row, in order: what comes first, then the request itself.
std::vector<Made> Meant(Target target, const RepaintRequest& request) {
  const bool onButton = target == Target::Button;
  std::vector<Made> meant;
  switch (request.First) {
    case Before::Nothing:
    case Before::FormInvalidated: break;
    case Before::InvalidateRectErase: meant.push_back({Module1::RequestKind::InvalidateRect, onButton, TRUE}); break;
    case Before::RedrawInvalidateEraseFrame:
      meant.push_back({Module1::RequestKind::RedrawWindow, onButton, InvalidateEraseFrame});
      break;
    case Before::RedrawInternalPaint:
      meant.push_back({Module1::RequestKind::RedrawWindow, onButton, RDW_INTERNALPAINT});
      break;
    case Before::OtherTargetInvalidated:
      meant.push_back({Module1::RequestKind::RedrawWindow, !onButton, InvalidateEraseFrame});
      break;
  }
  switch (request.Kind) {
    case Request::RedrawWindow: meant.push_back({Module1::RequestKind::RedrawWindow, onButton, request.Flags}); break;
    case Request::InvalidateRect: meant.push_back({Module1::RequestKind::InvalidateRect, onButton, FALSE}); break;
    case Request::InvalidateRectErase: meant.push_back({Module1::RequestKind::InvalidateRect, onButton, TRUE}); break;
  }
  return meant;
}

// Empty when the form made exactly the requests meant, once each, after the first number given.
std::string NotAsMeant(const std::vector<Made>& meant, std::uint32_t madeBefore) {
  const std::uint32_t made = Module1::RequestsMade() - madeBefore;
  if (made != meant.size()) {
    return "the form made " + std::to_string(made) + " requests where " + std::to_string(meant.size()) + " were meant";
  }
  for (std::uint32_t index = 0; index < made; ++index) {
    const Module1::Request* request = Module1::RequestNumbered(madeBefore + 1 + index);
    if (request == nullptr) return "the form forgot a request it made";
    const Made was{request->Kind, request->OnCommand1, request->Argument};
    if (Describe(was) != Describe(meant[index])) {
      return "the form made " + Describe(was) + " where " + Describe(meant[index]) + " was meant";
    }
  }
  return "";
}

bool SameTrace(const Trace& a, const Trace& b) {
  return a.During == b.During && a.Later == b.Later && a.LeftInvalid == b.LeftInvalid && a.Note == b.Note;
}

// Lines that came after their row had ended are kept at the end of its Later, and the row says so.
void AddLate(Trace& trace, const std::vector<std::string>& late) {
  if (late.empty()) return;
  const std::vector<std::string> lines = WithoutNumbers(late);
  trace.Later.insert(trace.Later.end(), lines.begin(), lines.end());
  trace.Note += (trace.Note.empty() ? "" : "; ") + std::string("the last ") + std::to_string(lines.size()) +
                " lines of Later came after the row had ended, late";
}

}  // namespace

struct FormSession::Take {
  Trace Traced;
  std::string Spoiled;                 // why the take cannot count; empty when it can
  std::vector<std::string> LateLines;  // traced after the take before it had ended
};

bool FormSession::TakeForeground() {
  SetForegroundWindow(form_->Hwnd());
  inFront_ = PumpUntil([this] { return GetForegroundWindow() == form_->Hwnd(); }, std::chrono::milliseconds(1000),
                       form_.get());
  return inFront_;
}

bool FormSession::Paints() const {
  if (!Open() || IsIconic(form_->Hwnd())) return false;
  for (const ControlId target : {Command1Id, Text2Id}) {
    const std::int32_t before = Module1::TraceCount;
    RedrawWindow(Control(target), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    if (Module1::TraceCount == before) return false;
  }
  return true;
}

// A paint is due where PeekMessage would make one: Wine leaves QS_PAINT set after an internal paint is delivered.
bool FormSession::NothingPending() const {
  MSG paint;
  if ((GetQueueStatus(QS_ALLINPUT & ~QS_PAINT) >> 16) != 0 ||
      PeekMessageA(&paint, nullptr, 0, 0, PM_NOREMOVE | PM_QS_PAINT)) {
    return false;
  }
  if (HasUpdateRect(form_->Hwnd())) return false;
  // Every descendant is asked: the targets are the group box's children, not the form's.
  bool invalid = false;
  EnumChildWindows(form_->Hwnd(), FindUpdateRect, reinterpret_cast<LPARAM>(&invalid));
  return !invalid;
}

Pressed FormSession::PressButton(ControlId button, const std::function<void()>& onReturn,
                                 const std::function<bool()>& settle) const {
  const std::size_t kept = Lines().size();
  const std::int32_t before = Module1::TraceCount;
  Click(button);
  const std::int32_t returned = Module1::TraceCount;
  if (onReturn) onReturn();
  Pressed pressed;
  pressed.Settled = settle();
  std::vector<std::string> lines = Lines();
  lines.erase(lines.begin(), lines.begin() + static_cast<std::ptrdiff_t>(std::min(kept, lines.size())));
  pressed.Whole =
      lines.size() == static_cast<std::size_t>(Module1::TraceCount - before) && NumberedFrom(lines, before + 1);
  for (const std::string& line : lines) (LineNumber(line) <= returned ? pressed.During : pressed.Later).push_back(line);
  return pressed;
}

std::vector<std::string> FormSession::LinesAfter(std::int32_t number) const {
  std::vector<std::string> after;
  for (const std::string& line : Lines()) {
    if (LineNumber(line) > number) after.push_back(line);
  }
  return after;
}

FormSession::Take FormSession::MakeTake(Target target, const RepaintRequest& request) {
  Take take;
  ++takes_;
  const Watch watch(form_->Hwnd());
  Choose(target);
  if (!PumpUntil([this] { return NothingPending(); }, Bound, form_.get())) {
    take.Spoiled = "the form's windows kept painting before the request";
    return take;
  }
  if (Module1::TraceCount != endedAt_) take.LateLines = LinesAfter(endedAt_);
  if (!Paints()) {
    take.Spoiled = "the form's windows got no paint messages: it was minimised or covered, or the desktop locked";
    return take;
  }
  const std::int32_t settled = Module1::TraceCount;
  const std::uint32_t madeBefore = Module1::RequestsMade();
  MakeFirst(target, request.First);
  const ControlId button = Prepare(request.Kind, request.Flags);
  const std::int32_t prepared = Module1::TraceCount;
  Click(Command3Id);
  const Pressed pressed = PressButton(
      button, [&] { take.Traced.LeftInvalid = LeftInvalid(target); },
      [this] { return PumpUntil([this] { return NothingPending(); }, Bound, form_.get()); });
  if (!pressed.Settled) {
    take.Traced.Note = "still painting " + std::to_string(Bound.count()) + " ms after the call: the row ends there";
  }
  endedAt_ = Module1::TraceCount;
  take.Spoiled = watch.Disturbance();
  if (take.Spoiled.empty() && inFront_ && GetForegroundWindow() != form_->Hwnd()) {
    take.Spoiled = "its window lost the activation";
  }
  if (take.Spoiled.empty()) take.Spoiled = NotAsMeant(Meant(target, request), madeBefore);
  if (take.Spoiled.empty() && prepared != settled) take.Spoiled = "lines were traced while the request was prepared";
  if (take.Spoiled.empty() && !pressed.Whole) take.Spoiled = "the log did not hold every line traced";
  take.Traced.During = WithoutNumbers(pressed.During);
  take.Traced.Later = WithoutNumbers(pressed.Later);
  return take;
}

FormSession::Outcome FormSession::RecordRow(Target target, const RepaintRequest& request, Trace& trace, Trace* previous,
                                            std::string& failure) {
  std::vector<Trace> counted;
  bool lastCounted = false;  // the take before this one is counted.back()
  std::string spoiled;
  for (int made = 0; made < MostTakes && Open(); ++made) {
    Take take = MakeTake(target, request);
    // Lines between two takes are late only where nothing disturbed the form: input may have made them, and the
    // take before them counts no more.
    if (!take.LateLines.empty() && !take.Spoiled.empty()) {
      if (lastCounted) counted.pop_back();
      if (made == 0 && previous != nullptr) return Outcome::PreviousDisturbed;
    } else if (lastCounted) {
      AddLate(counted.back(), take.LateLines);
    } else if (made == 0 && previous != nullptr) {
      AddLate(*previous, take.LateLines);
    }
    lastCounted = take.Spoiled.empty();
    if (!lastCounted) {
      spoiled = take.Spoiled;
      continue;
    }
    counted.push_back(take.Traced);
    for (std::size_t earlier = 0; earlier + 1 < counted.size(); ++earlier) {
      if (SameTrace(counted[earlier], counted.back())) {
        trace = counted.back();
        return Outcome::Recorded;
      }
    }
  }
  failure = counted.size() >= 2 ? "it never gave the same lines twice in " + std::to_string(MostTakes) + " takes"
                                : "it was disturbed each time: " + spoiled;
  return Outcome::Failed;
}

bool FormSession::RecordRows(std::size_t rows, std::vector<Trace>& traces, std::string& failure,
                             const std::function<void(std::size_t)>& starting) {
  const std::vector<PaintOrderCase>& cases = PaintOrderCases();
  int remade = 0;
  while (traces.size() < rows && Open()) {
    const std::size_t row = traces.size();
    if (starting) starting(row);
    Trace trace;
    const Outcome outcome = RecordRow(row % 2 == 0 ? Target::Button : Target::TextBox, cases[row / 2].Request, trace,
                                      traces.empty() ? nullptr : &traces.back(), failure);
    if (outcome == Outcome::Failed) return false;
    if (outcome == Outcome::PreviousDisturbed) {
      if (++remade > MostTakes) {
        failure = "the row before it was disturbed again and again";
        return false;
      }
      traces.pop_back();
      continue;
    }
    traces.push_back(trace);
  }
  return Open();
}
