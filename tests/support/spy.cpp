#include "support/spy.h"

#include <cstdlib>
#include <utility>

namespace {

// A window procedure carries no data, so each spy borrows one of a few fixed procedures and its slot. A slot
// stays taken while its procedure can still be called: when something put in front of it stayed, until its
// window is gone.
constexpr std::size_t SlotCount = 8;
struct Slot {
  const Spy* Owner = nullptr;
  LONG Previous = 0;
  bool Taken = false;
  HWND Window = nullptr;
  bool Free() const { return !Taken || (Owner == nullptr && Window != nullptr && !IsWindow(Window)); }
} Slots[SlotCount];

template <std::size_t N>
LRESULT CALLBACK SlotProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (Slots[N].Owner != nullptr) return Slots[N].Owner->Handle(hwnd, message, wParam, lParam);
  return CallWindowProcA(reinterpret_cast<WNDPROC>(Slots[N].Previous), hwnd, message, wParam, lParam);
}

template <std::size_t... N>
LONG ProcedureOf(std::size_t slot, std::index_sequence<N...>) {
  static const WNDPROC procedures[] = {&SlotProcedure<N>...};
  return reinterpret_cast<LONG>(procedures[slot]);
}

LONG ProcedureOf(std::size_t slot) { return ProcedureOf(slot, std::make_index_sequence<SlotCount>()); }

std::size_t Take(const Spy& owner, HWND window, LONG previous) {
  std::size_t slot = 0;
  while (!Slots[slot].Free()) {
    if (++slot == SlotCount) std::abort();  // more spies at once than any test needs
  }
  Slots[slot] = {&owner, previous, true, window};
  return slot;
}

}  // namespace

Spy::Spy(HWND window, Handler handler)
    : window_(window),
      previous_(GetWindowLongA(window, GWL_WNDPROC)),
      slot_(Take(*this, window, previous_)),
      handler_(std::move(handler)) {
  SetWindowLongA(window, GWL_WNDPROC, ProcedureOf(slot_));
}

Spy::Spy(LONG& hooksProcedure, Handler handler)
    : hooksProcedure_(&hooksProcedure),
      previous_(hooksProcedure),
      slot_(Take(*this, nullptr, previous_)),
      handler_(std::move(handler)) {
  hooksProcedure = ProcedureOf(slot_);
}

Spy::~Spy() {
  Slots[slot_].Owner = nullptr;
  const LONG ours = ProcedureOf(slot_);
  const bool alive = window_ != nullptr && IsWindow(window_);
  // Only a spy still first in its place can leave; one with something in front of it stays, passing on.
  if (hooksProcedure_ != nullptr ? *hooksProcedure_ != ours : alive && GetWindowLongA(window_, GWL_WNDPROC) != ours) {
    return;
  }
  if (hooksProcedure_ != nullptr) *hooksProcedure_ = previous_;
  if (alive) SetWindowLongA(window_, GWL_WNDPROC, previous_);
  Slots[slot_].Taken = false;
}

LRESULT Spy::Handle(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) const {
  return handler_(*this, hwnd, message, wParam, lParam);
}

LRESULT Spy::Forward(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) const {
  return CallWindowProcA(reinterpret_cast<WNDPROC>(previous_), hwnd, message, wParam, lParam);
}

Spy::Handler Spy::Watching(std::function<void(HWND, UINT, WPARAM, LPARAM)> look) {
  return [look = std::move(look)](const Spy& self, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    look(hwnd, message, wParam, lParam);
    return self.Forward(hwnd, message, wParam, lParam);
  };
}
