// One press of a request button on the real form, and what the hook traced for it.
#pragma once

#include <chrono>
#include <string>
#include <vector>

#include "main_window/form1.h"

// The log's lines for one request, numbers and all.
struct RequestTrace {
  std::vector<std::string> During;  // traced before the button's handler returned
  std::vector<std::string> Later;   // delivered afterwards by the message loop
};

// Clears the log, presses the button and pumps until the painting is over. Every traced line must then
// be in the log, numbered on from the count before the press.
RequestTrace PressAndTrace(const Form1& form, ControlId button, std::chrono::milliseconds quiet,
                           std::chrono::milliseconds timeout);
