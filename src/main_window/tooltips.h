// The form's tooltips: what each flag box does and which call each request button makes, never over a target.
#pragma once

#include <windows.h>

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

// Owns the form's tooltip window, a classic comctl32 control; the form relays its controls' mouse messages to it
// and answers for each tool's text as it shows, so the text is always current.
class Tooltips {
 public:
  Tooltips() = default;
  Tooltips(const Tooltips&) = delete;
  Tooltips& operator=(const Tooltips&) = delete;
  ~Tooltips();

  // False when the window could not be made; the form works on without tooltips.
  bool Create(HWND form, int maxWidth) noexcept;
  void Add(HWND form, HWND control) const noexcept;
  void Relay(const MSG& message) const noexcept;
  HWND Hwnd() const noexcept { return tooltip_; }

 private:
  HWND tooltip_ = nullptr;
};

// A classic comctl32 tooltip window owned by the form, lines wrapped at maxWidth; null when it could not be made.
HWND CreateTooltipWindow(HWND form, int maxWidth) noexcept;

// Where a tooltip at tip goes instead when it would cover any of the windows: below them, with a gap for a shadow.
RECT ClearOf(RECT tip, std::initializer_list<HWND> windows) noexcept;

// Moves a tooltip that is about to show clear of the windows.
void KeepClearOf(HWND tooltip, std::initializer_list<HWND> windows) noexcept;

// "Marks ... Value: 0x0004.": what the RedrawWindow flag with this value does.
std::string FlagTooltip(std::int32_t value);

// How the tooltips name a target: the "No Border" button or the "   Has Border" text box.
std::string_view TargetCalled(bool onButton);

// The exact calls the two request buttons make: RedrawWindow(the "No Border" button, NULL, NULL, 0x0605 =
// RDW_INVALIDATE | RDW_ERASE | RDW_ERASENOW | RDW_FRAME) and InvalidateRect(the "No Border" button, NULL, TRUE).
std::string RedrawWindowCall(bool onButton, std::int32_t flags);
std::string InvalidateRectCall(bool onButton, bool erase);
