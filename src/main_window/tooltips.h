// The form's tooltips: what each flag box does and which call each request button makes, never over a target.
#pragma once

#include <windows.h>

#include <array>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

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

// A sentence of a flag's tooltip and the rows of the catalogue it speaks of, so that a test holds the two together:
// the RedrawWindow rows whose flag word has every bit of With and none of Without, made after First, on Target, and
// what they show of Messages (none named: any traced message) at Where.
struct FlagClaim {
  // As the catalogue names what comes before a request; AnEarlierRequest is any of the three requests, Any any row.
  enum class Before : std::uint8_t {
    Nothing,
    InvalidateRectErase,
    RedrawInvalidateEraseFrame,
    RedrawInternalPaint,
    FormInvalidated,
    AnEarlierRequest,
    Any
  };
  enum class On : std::uint8_t { Both, Button, TextBox };
  // Documented: said by Microsoft's page, no row shows it. EveryRow: each row has the messages, all at Where.
  // WhereTheyCome: the messages come only at Where, and in some row. Never: none comes at Where.
  enum class Holds : std::uint8_t { Documented, EveryRow, WhereTheyCome, Never };
  // SentDuringTheCall: during the call and inside no other traced message; InsidePaint: inside a WM_PAINT.
  enum class Place : std::uint8_t { Anywhere, DuringTheCall, SentDuringTheCall, InsidePaint, Later };

  std::string_view Text;
  Holds How = Holds::Documented;
  std::int32_t With = 0, Without = 0;
  Before First = Before::Nothing;
  On Target = On::Both;
  std::array<UINT, 3> Messages{};
  Place Where = Place::Anywhere;
};

// The sentences of the tooltip of the RedrawWindow flag with this value, in order.
const std::vector<FlagClaim>& FlagClaims(std::int32_t value);

// "Marks ... Value: 0x0004.": what the RedrawWindow flag with this value does, its claims one after the other.
std::string FlagTooltip(std::int32_t value);

// How the tooltips name a target: the "No Border" button or the "   Has Border" text box.
std::string_view TargetCalled(bool onButton);

// The exact calls the two request buttons make: RedrawWindow(the "No Border" button, NULL, NULL, 0x0605 =
// RDW_INVALIDATE | RDW_ERASE | RDW_ERASENOW | RDW_FRAME) and InvalidateRect(the "No Border" button, NULL, TRUE).
std::string RedrawWindowCall(bool onButton, std::int32_t flags);
std::string InvalidateRectCall(bool onButton, bool erase);
