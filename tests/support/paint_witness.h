// A witness under the hook: installed on both targets between TraceWndProc and their own procedures, it writes
// down every paint message those procedures receive, and its result, in the log's words but without numbers.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "support/spy.h"

class PaintWitness {
 public:
  // Goes under the hook of the form that is tracing now; the form must outlive the witness.
  PaintWitness();

  // "S WM_PAINT" as the message reaches the window's own procedure, "R WM_PAINT   lResult:  &H00000000" as
  // that procedure returns; nested messages fall in between, as in the log.
  const std::vector<std::string>& Events() const { return events_; }

 private:
  LRESULT Witness(const Spy& self, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  std::vector<std::string> events_;
  Spy command1_, text2_;
};
