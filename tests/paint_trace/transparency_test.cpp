// The hook must be invisible to everything but the log: ordinary messages sent to a hooked button and
// edit box give the same results, notifications, state and paint traffic as on their unhooked twins.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "main_window/message_pump.h"
#include "paint_trace/module1.h"
#include "paint_trace/trace_lines.h"
#include "support/spy.h"

namespace {

// What each host heard from its child, and the paint messages that reached each window's own procedure.
std::map<HWND, std::vector<WPARAM>> Notifications;
std::map<HWND, int> PaintMessages;

LRESULT CALLBACK HostProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_COMMAND) Notifications[hwnd].push_back(wParam);
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

struct Twin {
  HWND Host, Button, Edit;
};

Twin CreateTwin(int x) {
  const HWND host = CreateWindowExA(0, "MoravaneTransparencyHost", "", WS_OVERLAPPED | WS_VISIBLE, x, 0, 300, 120,
                                    nullptr, nullptr, nullptr, nullptr);
  const HWND button = CreateWindowExA(0, "BUTTON", "No Border", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 10, 10, 80, 33,
                                      host, reinterpret_cast<HMENU>(1), nullptr, nullptr);
  const HWND edit = CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", "   Has Border", WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL,
                                    100, 10, 80, 33, host, reinterpret_cast<HMENU>(2), nullptr, nullptr);
  return {host, button, edit};
}

struct Sent {
  UINT Message;
  WPARAM WParam;
  LPARAM LParam;
};

// Mouse, keyboard, text and focus, in the order a user and a program would cause them.
const std::vector<Sent> Ordinary{
    {WM_MOUSEMOVE, 0, MAKELPARAM(5, 5)},
    {WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5)},
    {WM_LBUTTONUP, 0, MAKELPARAM(5, 5)},
    {WM_KEYDOWN, VK_SPACE, 0x00390001},
    {WM_KEYUP, VK_SPACE, static_cast<LPARAM>(0xC0390001)},
    {WM_KEYDOWN, VK_END, 0x014F0001},
    {WM_CHAR, 'x', 0x002D0001},
    {WM_GETDLGCODE, 0, 0},
    {WM_SETTEXT, 0, reinterpret_cast<LPARAM>("changed")},
    {WM_GETTEXTLENGTH, 0, 0},
    {EM_SETSEL, 1, 3},
    {WM_KILLFOCUS, 0, 0},
    {WM_SETFOCUS, 0, 0},
};

struct Outcome {
  std::vector<LRESULT> Results;
  std::vector<int> PaintMessages;  // what each message made the platform paint, at once or from the loop
  std::vector<WPARAM> Notifications;
  std::string Text;
  LRESULT State, Selection;
};

Outcome SendOrdinary(HWND target) {
  Outcome outcome;
  const HWND host = GetParent(target);
  const std::size_t heard = Notifications[host].size();
  for (const Sent& sent : Ordinary) {
    const int before = PaintMessages[target];
    outcome.Results.push_back(SendMessageA(target, sent.Message, sent.WParam, sent.LParam));
    PumpFor(std::chrono::milliseconds(30));
    outcome.PaintMessages.push_back(PaintMessages[target] - before);
  }
  outcome.Notifications.assign(Notifications[host].begin() + static_cast<std::ptrdiff_t>(heard),
                               Notifications[host].end());
  outcome.Text = WindowText(target);
  outcome.State = SendMessageA(target, BM_GETSTATE, 0, 0);
  outcome.Selection = SendMessageA(target, EM_GETSEL, 0, 0);
  return outcome;
}

TEST(HookTransparency, OrdinaryMessagesGiveTheSameResultsAndSideEffectsHookedAndUnhooked) {
  WNDCLASSA hostClass{};
  hostClass.lpfnWndProc = &HostProc;
  hostClass.lpszClassName = "MoravaneTransparencyHost";
  RegisterClassA(&hostClass);
  const Twin hooked = CreateTwin(0), plain = CreateTwin(320);
  const HWND log = CreateWindowExA(0, "EDIT", "", WS_POPUP | ES_MULTILINE | ES_AUTOVSCROLL, 0, 200, 200, 100, nullptr,
                                   nullptr, nullptr, nullptr);
  // Right above each control's own procedure: under the hook on one twin, alone on the other.
  const auto count = Spy::Watching([](HWND hwnd, UINT message, WPARAM, LPARAM) {
    if (!Module1::TracedMessageName(message).empty()) ++PaintMessages[hwnd];
  });
  const Spy counters[] = {{hooked.Button, count}, {hooked.Edit, count}, {plain.Button, count}, {plain.Edit, count}};
  Module1::LogBox = log;
  Module1::HookedCommand1 = hooked.Button;
  const auto hook = reinterpret_cast<LONG>(&Module1::TraceWndProc);
  Module1::PrevProcCommand1 = SetWindowLongA(hooked.Button, GWL_WNDPROC, hook);
  Module1::PrevProcText2 = SetWindowLongA(hooked.Edit, GWL_WNDPROC, hook);
  PumpFor(std::chrono::milliseconds(100));

  for (const auto& [name, pick] : {std::pair{"button", &Twin::Button}, std::pair{"edit box", &Twin::Edit}}) {
    SCOPED_TRACE(name);
    const std::int32_t before = Module1::TraceCount;
    const Outcome traced = SendOrdinary(hooked.*pick);
    const std::int32_t lines = Module1::TraceCount - before;
    const Outcome untraced = SendOrdinary(plain.*pick);
    EXPECT_EQ(traced.Results, untraced.Results);
    EXPECT_EQ(traced.PaintMessages, untraced.PaintMessages);
    EXPECT_EQ(traced.Notifications, untraced.Notifications);
    EXPECT_EQ(traced.Text, untraced.Text);
    EXPECT_EQ(traced.State, untraced.State);
    EXPECT_EQ(traced.Selection, untraced.Selection);
    int paintMessages = 0;
    for (const int count : traced.PaintMessages) paintMessages += count;
    EXPECT_EQ(lines, 2 * paintMessages) << "a line for an ordinary message";
  }
  Module1::LogBox = nullptr;
  for (const HWND window : {hooked.Host, plain.Host, log}) DestroyWindow(window);
}

}  // namespace
