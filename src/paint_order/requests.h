// The repaint requests the catalogue makes through the form, and what is made to happen before each.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

enum class Target { Button, TextBox };
enum class Request { RedrawWindow, InvalidateRect, InvalidateRectErase };

// The word that leaves a target's client area to erase and its frame to draw, for the loop to paint.
inline constexpr std::int32_t InvalidateEraseFrame = RDW_INVALIDATE | RDW_ERASE | RDW_FRAME;

// Something for a validating request to take away, or a window that still needs painting when the request comes.
enum class Before {
  Nothing,
  InvalidateRectErase,
  RedrawInvalidateEraseFrame,
  RedrawInternalPaint,
  OtherTargetInvalidated,  // RedrawWindow with InvalidateEraseFrame on the other target
  FormInvalidated,         // InvalidateRect on the form itself, with erase
};

struct RepaintRequest {
  Request Kind;
  std::int32_t Flags;  // the boxes checked when the request is RedrawWindow
  Before First;
};

// "0x0605", as the catalogue names a flag word.
std::string FlagWord(std::int32_t flags);
// "RDW_INVALIDATE | RDW_ERASE" in the order of the values, from the form's own flag boxes; "none" for 0.
std::string FlagNames(std::int32_t flags);
// "RedrawWindow 0x0605" or "InvalidateRect, Erase checked", then what came first: one line of plain text.
std::string RequestText(const RepaintRequest& request);
const char* TargetName(Target target);  // "button" or "text box"
