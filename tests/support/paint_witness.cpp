#include "support/paint_witness.h"

#include <cstdio>

#include "paint_trace/module1.h"

namespace {

// The witness's own reading of the three messages, so that it owes the hook nothing.
const char* PaintName(UINT message) {
  switch (message) {
    case WM_PAINT: return "WM_PAINT";
    case WM_ERASEBKGND: return "WM_ERASEBKGND";
    case WM_NCPAINT: return "WM_NCPAINT";
  }
  return nullptr;
}

struct Record {
  LONG Command1 = 0, Text2 = 0;  // the targets' own procedures, which the hook now reaches through the witness
  std::vector<std::string> Events;
} Seen;

LRESULT CALLBACK Witness(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  const LONG own = hwnd == Module1::HookedCommand1 ? Seen.Command1 : Seen.Text2;
  const char* name = PaintName(message);
  if (name != nullptr) Seen.Events.push_back(std::string("S ") + name);
  const LRESULT result = CallWindowProcA(reinterpret_cast<WNDPROC>(own), hwnd, message, wParam, lParam);
  if (name != nullptr) {
    char line[64];
    std::snprintf(line, sizeof line, "R %s   lResult:  &H%08lX", name, static_cast<unsigned long>(result));
    Seen.Events.emplace_back(line);
  }
  return result;
}

}  // namespace

PaintWitness::PaintWitness() {
  Seen = Record{Module1::PrevProcCommand1, Module1::PrevProcText2, {}};
  Module1::PrevProcCommand1 = reinterpret_cast<LONG>(&Witness);
  Module1::PrevProcText2 = reinterpret_cast<LONG>(&Witness);
}

PaintWitness::~PaintWitness() {
  Module1::PrevProcCommand1 = Seen.Command1;
  Module1::PrevProcText2 = Seen.Text2;
}

const std::vector<std::string>& PaintWitness::Events() const { return Seen.Events; }
