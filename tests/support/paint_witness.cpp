#include "support/paint_witness.h"

#include <cstdio>

#include "paint_trace/module1.h"

namespace {

// The witness's own reading of the three messages, so that it owes the hook nothing.
const char* PaintName(UINT message) {
  if (message == WM_PAINT) return "WM_PAINT";
  if (message == WM_ERASEBKGND) return "WM_ERASEBKGND";
  return message == WM_NCPAINT ? "WM_NCPAINT" : nullptr;
}

}  // namespace

PaintWitness::PaintWitness()
    : command1_(Module1::PrevProcCommand1, [this](const auto&... call) { return Witness(call...); }),
      text2_(Module1::PrevProcText2, [this](const auto&... call) { return Witness(call...); }) {}

LRESULT PaintWitness::Witness(const Spy& self, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  const char* name = PaintName(message);
  if (name != nullptr) events_.push_back(std::string("S ") + name);
  const LRESULT result = self.Forward(hwnd, message, wParam, lParam);
  if (name != nullptr) {
    char line[64];
    std::snprintf(line, sizeof line, "R %s   lResult:  &H%08lX", name, static_cast<unsigned long>(result));
    events_.emplace_back(line);
  }
  return result;
}
