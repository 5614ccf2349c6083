// A procedure a test puts into a window's chain and takes out again however the test ends: in front of the
// window's own procedure, or under the hook, in the place of the procedure the hook passes messages to.
#pragma once

#include <windows.h>

#include <cstddef>
#include <functional>

class Spy {
 public:
  // Sees each message; whatever it returns is the answer. self.Forward passes the message on.
  using Handler = std::function<LRESULT(const Spy& self, HWND, UINT, WPARAM, LPARAM)>;

  Spy(HWND window, Handler handler);
  Spy(LONG& hooksProcedure, Handler handler);  // Module1::PrevProcCommand1 or Module1::PrevProcText2
  Spy(const Spy&) = delete;
  Spy& operator=(const Spy&) = delete;
  ~Spy();

  // What the spy's place in the chain does with a message: its handler's answer.
  LRESULT Handle(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) const;
  LRESULT Forward(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) const;

  // A handler that looks at each message before passing it on.
  static Handler Watching(std::function<void(HWND, UINT, WPARAM, LPARAM)> look);

 private:
  HWND window_ = nullptr;
  LONG* hooksProcedure_ = nullptr;
  LONG previous_;
  std::size_t slot_;
  Handler handler_;
};
