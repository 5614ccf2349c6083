#include "main_window/line_tips.h"

#include <commctrl.h>
#include <windowsx.h>

#include "main_window/line_story.h"
#include "main_window/tooltips.h"

namespace {

constexpr UINT ShownPollMs = 100;

}  // namespace

LineTips::~LineTips() {
  if (tip_ != nullptr && IsWindow(tip_)) DestroyWindow(tip_);
}

bool LineTips::Create(HWND form, HWND log, HWND command1, HWND text2, int maxWidth) noexcept {
  form_ = form;
  log_ = log;
  command1_ = command1;
  text2_ = text2;
  tip_ = CreateTooltipWindow(form, maxWidth);
  if (tip_ == nullptr) return false;
  TOOLINFOA tool = Tool(const_cast<char*>(""));
  tool.uFlags = TTF_TRACK | TTF_ABSOLUTE;
  SendMessageA(tip_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
  return true;
}

// The one tool, placed by the form itself.
TOOLINFOA LineTips::Tool(char* text) const noexcept {
  TOOLINFOA tool{};
  tool.cbSize = sizeof tool;
  tool.hwnd = form_;
  tool.lpszText = text;
  return tool;
}

std::optional<Module1::BoxLine> LineTips::LineUnderCursor() const noexcept {
  POINT cursor{};
  if (!GetCursorPos(&cursor) || WindowFromPoint(cursor) != log_) return std::nullopt;
  ScreenToClient(log_, &cursor);
  return Module1::BoxLineAt(log_, cursor);
}

// A key hides what F1 showed. A move onto another line starts the pause anew; anything else, a click or the cursor
// elsewhere, ends it.
void LineTips::Relay(const MSG& message) noexcept {
  if (tip_ == nullptr) return;
  if (message.message == WM_KEYDOWN || message.message == WM_SYSKEYDOWN) {
    if (keyed_ != nullptr) Hide();
    return;
  }
  if (message.message < WM_MOUSEFIRST || message.message > WM_MOUSELAST) return;
  const POINT at{GET_X_LPARAM(message.lParam), GET_Y_LPARAM(message.lParam)};
  const std::optional<Module1::BoxLine> line =
      message.hwnd == log_ && message.message == WM_MOUSEMOVE ? Module1::BoxLineAt(log_, at) : std::nullopt;
  const int index = line ? line->Index : -1;
  if (index == hovered_) return;
  Hide();
  hovered_ = index;
  if (index >= 0) SetTimer(form_, TimerId, GetDoubleClickTime(), nullptr);
}

void LineTips::OnTimer() noexcept {
  if (keyed_ != nullptr) {
    if (KeyedPlaceLeft()) Hide();
    return;
  }
  const std::optional<Module1::BoxLine> line = LineUnderCursor();
  if (hovered_ < 0 || !line || line->Index != hovered_) {
    Hide();
    hovered_ = -1;
    return;
  }
  if (!shown_) Show(*line);
}

// Placed below the line, where the cursor does not hide it, and then clear of the targets: never over them.
void LineTips::Show(const Module1::BoxLine& line) noexcept {
  try {
    text_ = LineStoryOf(Module1::ShortLineText(log_, line.Index));
  } catch (...) {
    text_.clear();
  }
  POINT cursor{};
  GetCursorPos(&cursor);
  POINT client = cursor;
  ScreenToClient(log_, &client);
  ShowAt({cursor.x, cursor.y + line.Bounds.bottom - client.y + GetSystemMetrics(SM_CYCURSOR) / 2});
}

void LineTips::ShowCaretLine() noexcept {
  Hide();
  const auto line = static_cast<int>(SendMessageA(log_, EM_LINEFROMCHAR, static_cast<WPARAM>(-1), 0));
  const LRESULT at = SendMessageA(log_, EM_POSFROMCHAR, SendMessageA(log_, EM_LINEINDEX, line, 0), 0);
  RECT client{};
  GetClientRect(log_, &client);
  // A caret's line out of view is told below the log's view, which F1 does not scroll.
  const std::optional<Module1::BoxLine> shown =
      at == -1 ? std::nullopt : Module1::BoxLineAt(log_, {LOWORD(at), static_cast<short>(HIWORD(at))});
  POINT corner{shown ? shown->Bounds.left : client.left, shown ? shown->Bounds.bottom : client.bottom};
  if (!shown || shown->Index != line) corner.y = client.bottom;
  ClientToScreen(log_, &corner);
  try {
    text_ = LineStoryOf(Module1::ShortLineText(log_, line));
  } catch (...) {
    text_.clear();
  }
  SendMessageA(log_, EM_GETSEL, reinterpret_cast<WPARAM>(&keyedCaret_), 0);
  keyed_ = log_;
  ShowAt(corner);
}

void LineTips::ShowFor(HWND control, std::string text) noexcept {
  Hide();
  RECT bounds{};
  GetWindowRect(control, &bounds);
  text_ = std::move(text);
  keyed_ = control;
  ShowAt({bounds.left, bounds.bottom + GetSystemMetrics(SM_CYEDGE)});
}

bool LineTips::KeyedPlaceLeft() const noexcept {
  DWORD start = 0;
  if (keyed_ == log_) SendMessageA(log_, EM_GETSEL, reinterpret_cast<WPARAM>(&start), 0);
  return GetFocus() != keyed_ || (keyed_ == log_ && start != keyedCaret_);
}

void LineTips::ShowAt(POINT corner) noexcept {
  if (text_.empty()) {
    KillTimer(form_, TimerId);
    keyed_ = nullptr;
    return;
  }
  TOOLINFOA tool = Tool(text_.data());
  SendMessageA(tip_, TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&tool));
  const auto size = static_cast<DWORD>(SendMessageA(tip_, TTM_GETBUBBLESIZE, 0, reinterpret_cast<LPARAM>(&tool)));
  RECT tip{corner.x, corner.y, corner.x + LOWORD(size), corner.y + HIWORD(size)};
  tip = ClearOf(tip, {command1_, text2_});
  SendMessageA(tip_, TTM_TRACKPOSITION, 0, MAKELPARAM(tip.left, tip.top));
  SendMessageA(tip_, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&tool));
  shown_ = true;
  SetTimer(form_, TimerId, ShownPollMs, nullptr);
}

void LineTips::Hide() noexcept {
  KillTimer(form_, TimerId);
  keyed_ = nullptr;
  if (!shown_) return;
  TOOLINFOA tool = Tool();
  SendMessageA(tip_, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&tool));
  shown_ = false;
}
