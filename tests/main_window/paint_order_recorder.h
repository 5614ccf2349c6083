// Drives the real form through one repaint request and records what the hook traced, during the call and later.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "main_window/form1.h"

enum class Target { Button, TextBox };
enum class Request { RedrawWindow, InvalidateRect, InvalidateRectErase };
// What the program is made to do first, so that a validating request has something to take away.
enum class Before { Nothing, InvalidateRectErase, RedrawInvalidateEraseFrame, RedrawInternalPaint };

struct RepaintRequest {
  Request Kind;
  std::int32_t Flags;  // the boxes checked when the request is RedrawWindow
  Before First;
};

// The traced lines without their numbers, as the log shows them.
struct Recording {
  std::vector<std::string> During;  // traced before the button's handler returned
  std::vector<std::string> Later;   // delivered afterwards by the message loop
};

class PaintOrderRecorder {
 public:
  PaintOrderRecorder();
  ~PaintOrderRecorder();
  Recording Record(Target target, const RepaintRequest& request);

 private:
  void Press(ControlId button) const;
  void CheckFlags(std::int32_t flags) const;
  // Sets the boxes or "Erase" for the request; gives the button that makes it.
  ControlId Prepare(Request kind, std::int32_t flags) const;
  void Settle() const;
  std::unique_ptr<Form1> form_;
};
