// The log's line tooltips: hovering a trace line tells its story, in a tooltip the form places itself.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <optional>
#include <string>

#include "paint_trace/line_marks.h"

// Owns a tracking tooltip window. It shows after the usual hover pause below the line under the cursor, clear of
// the targets, and hides as the cursor leaves that line; nothing of it is in the log's chain of procedures. F1 shows
// it too, for the line of the log's caret or for a focused control, until a key is pressed or the caret or the focus
// moves.
class LineTips {
 public:
  static constexpr UINT_PTR TimerId = 2;

  LineTips() = default;
  LineTips(const LineTips&) = delete;
  LineTips& operator=(const LineTips&) = delete;
  ~LineTips();

  // False when the window could not be made; the log works on without them.
  bool Create(HWND form, HWND log, HWND command1, HWND text2, int maxWidth) noexcept;
  // Every mouse and key message of the form's windows, before it is dispatched.
  void Relay(const MSG& message) noexcept;
  // F1 in the log: the story of the caret's line, below that line.
  void ShowCaretLine() noexcept;
  // F1 on another control: its tooltip's text, below it.
  void ShowFor(HWND control, std::string text) noexcept;
  // The form's TimerId: the hover pause is over, or the cursor is looked at again while the tooltip shows.
  void OnTimer() noexcept;
  HWND Hwnd() const noexcept { return tip_; }

 private:
  std::optional<Module1::BoxLine> LineUnderCursor() const noexcept;
  TOOLINFOA Tool(char* text = nullptr) const noexcept;
  void Show(const Module1::BoxLine& line) noexcept;
  // Shows text_ with its top left corner at this point of the screen, or below it clear of the targets.
  void ShowAt(POINT corner) noexcept;
  // Whether the focus or the log's caret moved since F1 showed the tooltip.
  bool KeyedPlaceLeft() const noexcept;
  void Hide() noexcept;

  HWND form_ = nullptr, log_ = nullptr, command1_ = nullptr, text2_ = nullptr, tip_ = nullptr;
  int hovered_ = -1;  // the line the cursor rests on, -1 for none
  bool shown_ = false;
  HWND keyed_ = nullptr;  // the focused window F1 showed the tooltip for, null when the cursor showed it
  DWORD keyedCaret_ = 0;  // where the log's selection started then
  std::string text_;      // what the tooltip shows, kept while it shows
};
