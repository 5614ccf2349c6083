// Presses the running Moravane's controls by their captions, from outside as a user would, one after the
// other: press_buttons CAPTION... The screenshot is taken after a few presses.
#include <windows.h>

#include <cstdio>

namespace {

struct Search {
  const char* Caption;
  HWND Found;
};

BOOL CALLBACK MatchCaption(HWND hwnd, LPARAM lParam) {
  auto* search = reinterpret_cast<Search*>(lParam);
  char text[64] = {};
  GetWindowTextA(hwnd, text, sizeof text);
  if (lstrcmpA(text, search->Caption) != 0) return TRUE;
  search->Found = hwnd;
  return FALSE;
}

}  // namespace

int main(int argc, char** argv) {
  const HWND form = FindWindowA("Moravane.Form1", "Moravane");
  if (form == nullptr) {
    std::fprintf(stderr, "press_buttons: Moravane's window was not found\n");
    return 1;
  }
  for (int i = 1; i < argc; ++i) {
    Search search{argv[i], nullptr};
    EnumChildWindows(form, &MatchCaption, reinterpret_cast<LPARAM>(&search));
    if (search.Found == nullptr) {
      std::fprintf(stderr, "press_buttons: Moravane has no control \"%s\"\n", argv[i]);
      return 1;
    }
    SendMessageA(search.Found, BM_CLICK, 0, 0);
    Sleep(300);  // the paint messages that come later, from the program's own loop
  }
  return 0;
}
