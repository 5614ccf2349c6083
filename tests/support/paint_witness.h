// A witness under the hook: installed on both targets between TraceWndProc and their own procedures, it writes
// down every paint message those procedures receive, and its result, in the log's words but without numbers.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

class PaintWitness {
 public:
  // Goes under the hook of the form that is tracing now; the form must outlive the witness.
  PaintWitness();
  PaintWitness(const PaintWitness&) = delete;
  PaintWitness& operator=(const PaintWitness&) = delete;
  ~PaintWitness();

  // "S WM_PAINT" as the message reaches the window's own procedure, "R WM_PAINT   lResult:  &H00000000" as
  // that procedure returns; nested messages fall in between, as in the log.
  const std::vector<std::string>& Events() const;
};
