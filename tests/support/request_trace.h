// One press of a request button on the real form, and what the hook traced for it.
#pragma once

#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "main_window/form1.h"

// The log's lines for one request, split at the moment the button's handler returned.
struct RequestTrace {
  std::vector<std::string> During;  // traced before the button's handler returned
  std::vector<std::string> Later;   // delivered afterwards by the message loop
};

// The same lines without their numbers, as the catalogue shows them.
RequestTrace WithoutNumbers(const RequestTrace& trace);

// Clears the log, presses the button and pumps until the painting is over. Every traced line must then
// be in the log, numbered on from the count before the press. onReturn runs as soon as the press returns,
// before the loop runs again.
RequestTrace PressAndTrace(const Form1& form, ControlId button, std::chrono::milliseconds quiet,
                           std::chrono::milliseconds timeout, const std::function<void()>& onReturn = {});
