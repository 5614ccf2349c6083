// Drives the real form through one repaint request and records what the hook traced, during the call and later.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "main_window/form1.h"
#include "support/form_test.h"

enum class Target { Button, TextBox };
enum class Request { RedrawWindow, InvalidateRect, InvalidateRectErase };
// What is made to happen first: something for a validating request to take away, or a window that still
// needs painting when the request comes.
// The word that leaves a target's client area to erase and its frame to draw, for the loop to paint.
inline constexpr std::int32_t InvalidateEraseFrame = RDW_INVALIDATE | RDW_ERASE | RDW_FRAME;

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

struct Recording {
  RequestTrace Lines;       // the traced lines without their numbers
  std::string LeftInvalid;  // what still needed painting when the request returned, before the loop ran
};

class PaintOrderRecorder {
 public:
  PaintOrderRecorder();
  Recording Record(Target target, const RepaintRequest& request);

 private:
  // Sets the boxes or "Erase" for the request; gives the button that makes it.
  ControlId Prepare(Request kind, std::int32_t flags) const;
  void Choose(Target target) const;
  void MakeFirst(Target target, Before first) const;
  std::string LeftInvalid(Target target) const;
  FormDriver form_;
};
