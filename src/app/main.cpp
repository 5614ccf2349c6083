// Program entry: the form is the start-up object, and the program ends when it is closed.
#include <windows.h>

#include "main_window/form1.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
  Form1 form(instance);
  form.Show(showCommand);
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    if (form.PreTranslateMessage(message)) continue;
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return static_cast<int>(message.wParam);
}
