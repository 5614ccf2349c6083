// Program entry: the form is the start-up object, and the program ends when it is closed.
#include <windows.h>

#include "main_window/form1.h"
#include "main_window/message_pump.h"

namespace {

// Exit codes for the failures nobody is shown: the window could not be made, the loop could not go on.
constexpr int StartUpFailed = 1;
constexpr int LoopFailed = 2;

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
  Form1 form(instance);
  if (form.Hwnd() == nullptr) return StartUpFailed;
  form.Show(showCommand);
  MSG message{};
  BOOL got = FALSE;
  while ((got = GetMessageA(&message, nullptr, 0, 0)) > 0) {
    DispatchFromLoop(message, &form);
  }
  return got < 0 ? LoopFailed : static_cast<int>(message.wParam);
}
