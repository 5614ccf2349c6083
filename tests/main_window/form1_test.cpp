#include "main_window/form1.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <memory>

#include "paint_trace/module1.h"
#include "paint_trace/trace_lines.h"
#include "support/import_patch.h"
#include "support/message_pump.h"
#include "support/placement.h"
#include "support/request_trace.h"
#include "support/trace_log.h"

namespace {

using namespace std::chrono_literals;

constexpr auto Settle = 150ms;  // no traced message for this long: the platform is done painting
constexpr auto Patience = 5s;

// Paint messages that reach Text2's own procedure, counted behind the hook.
LONG RealText2Proc = 0;
int Text2PaintMessages = 0;

LRESULT CALLBACK Text2Spy(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (!Module1::TracedMessageName(message).empty()) ++Text2PaintMessages;
  return CallWindowProcA(reinterpret_cast<WNDPROC>(RealText2Proc), hwnd, message, wParam, lParam);
}

class Form1Test : public ::testing::Test {
 protected:
  void SetUp() override {
    Module1::LogBox = nullptr;  // an earlier test's form attached a log of its own
    countBeforeStart_ = Module1::TraceCount;
    created_ = std::chrono::steady_clock::now();
    form_ = std::make_unique<Form1>(GetModuleHandleA(nullptr));
    form_->Show(SW_SHOWNORMAL);
  }

  void TearDown() override {
    form_.reset();
    PumpFor(20ms);
  }

  HWND Control(ControlId id) const { return form_->Control(id); }
  static void Click(HWND control) { SendMessageA(control, BM_CLICK, 0, 0); }
  void Click(ControlId id) const { Click(Control(id)); }
  bool IsChecked(HWND control) const { return SendMessageA(control, BM_GETCHECK, 0, 0) == BST_CHECKED; }

  void SetFlag(int index, bool checked) const {
    if (IsChecked(form_->FlagBoxControl(index)) != checked) Click(form_->FlagBoxControl(index));
  }

  // Waits for the timer to attach the log, lets the start-up painting settle, and clears the log.
  void StartTracing() {
    ASSERT_TRUE(PumpUntilTracing(Settle, Patience, *form_));
    Click(Command3Id);
  }

  std::vector<std::string> Lines() const { return LogLines(WindowText(Control(Text1Id))); }

  RequestTrace Press(ControlId button) const { return PressAndTrace(*form_, button, Settle, Patience); }

  std::unique_ptr<Form1> form_;
  std::int32_t countBeforeStart_ = 0;
  std::chrono::steady_clock::time_point created_;
};

using Events = std::vector<std::string>;

std::string ClassOf(HWND hwnd) {
  char name[64] = {};
  GetClassNameA(hwnd, name, sizeof name);
  return name;
}

TEST_F(Form1Test, EveryControlHasItsCaptionParentPlaceAndStartState) {
  const HWND form = form_->Hwnd();
  const HDC dc = GetDC(form);
  const int dpiX = GetDeviceCaps(dc, LOGPIXELSX), dpiY = GetDeviceCaps(dc, LOGPIXELSY);
  ReleaseDC(form, dc);

  EXPECT_EQ(WindowText(form), "Moravane");
  RECT client;
  GetClientRect(form, &client);
  EXPECT_EQ(client.right, MulDiv(9090, dpiX, 1440));
  EXPECT_EQ(client.bottom, MulDiv(5940, dpiY, 1440));
  if (dpiX == 96) {
    EXPECT_EQ(client.right, 606);
    EXPECT_EQ(client.bottom, 396);
  }

  for (const FlagBox& box : Check1Boxes) {
    const HWND control = form_->FlagBoxControl(box.Index);
    EXPECT_EQ(GetParent(control), form) << box.Caption;
    ExpectPlacedAt(control, {FlagBoxLeft, box.Top, box.Width, FlagBoxHeight}, dpiX, dpiY, box.Caption);
    EXPECT_STRCASEEQ(ClassOf(control).c_str(), "Button");
    EXPECT_EQ(WindowText(control), box.Caption);
    EXPECT_EQ(GetWindowLongA(control, GWL_STYLE) & BS_TYPEMASK, BS_AUTOCHECKBOX);
    EXPECT_EQ(IsChecked(control), box.CheckedAtStart) << box.Caption;
  }
  for (const ControlSpec& spec : Form1Controls) {
    const HWND parent = spec.Parent == ParentWindow::Frame1 ? Control(Frame1Id) : form;
    EXPECT_EQ(GetParent(Control(spec.Id)), parent) << spec.Caption;
    ExpectPlacedAt(Control(spec.Id), spec.Bounds, dpiX, dpiY, spec.Caption);
    const bool isEdit = spec.Kind == ControlKind::LogBox || spec.Kind == ControlKind::TextBox;
    EXPECT_STRCASEEQ(ClassOf(Control(spec.Id)).c_str(), isEdit ? "Edit" : "Button");
    EXPECT_EQ(WindowText(Control(spec.Id)), spec.Caption);
  }
  EXPECT_EQ(WindowText(Control(Text2Id)), "   Has Border");
  EXPECT_TRUE(GetWindowLongA(Control(Text1Id), GWL_STYLE) & ES_MULTILINE);
  EXPECT_TRUE(GetWindowLongA(Control(Text1Id), GWL_STYLE) & WS_VSCROLL);
  EXPECT_FALSE(GetWindowLongA(Control(Text1Id), GWL_STYLE) & ES_READONLY);
  EXPECT_TRUE(IsChecked(Control(Option1Id)));
  EXPECT_FALSE(IsChecked(Control(Option2Id)));
  EXPECT_FALSE(IsChecked(Control(Check2Id)));
  EXPECT_EQ(form_->TargetHwnd, Control(Command1Id));
  EXPECT_EQ(form_->RedrawFlags, 0x605);
}

TEST_F(Form1Test, TabWalksEveryControlInTabIndexOrderIntoAndOutOfTheFrame) {
  std::vector<HWND> order;
  order.reserve(Check1Boxes.size() + Form1Controls.size());
  for (const FlagBox& box : Check1Boxes) order.push_back(form_->FlagBoxControl(box.Index));
  for (const ControlSpec& spec : Form1Controls) {
    if (spec.Kind != ControlKind::GroupFrame) order.push_back(Control(spec.Id));
  }
  ASSERT_TRUE(PumpUntilQuiet(Settle, Patience, form_.get()));
  SetFocus(order.front());
  for (std::size_t step = 1; step <= order.size(); ++step) {
    const HWND expected = order[step % order.size()];
    PostMessageA(GetFocus(), WM_KEYDOWN, VK_TAB, 0);
    ASSERT_TRUE(PumpUntil([&] { return GetFocus() == expected; }, 1s, form_.get())) << "after " << step << " tabs";
  }
  EXPECT_EQ(WindowText(Control(Text1Id)), "") << "Tab moves on from the log instead of typing into it";
  for (std::size_t step = order.size(); step > 0; --step) {
    EXPECT_EQ(GetNextDlgTabItem(form_->Hwnd(), order[step % order.size()], TRUE), order[step - 1]);
  }
}

TEST_F(Form1Test, SpaceTogglesTheFocusedFlagBoxAndTheFlagWord) {
  const HWND update = form_->FlagBoxControl(6);  // RDW_UPDATENOW
  SetFocus(update);
  PostMessageA(update, WM_KEYDOWN, VK_SPACE, 0);
  PostMessageA(update, WM_KEYUP, VK_SPACE, static_cast<LPARAM>(0xC0000001));
  ASSERT_TRUE(PumpUntil([&] { return IsChecked(update); }, 1s, form_.get()));
  EXPECT_EQ(form_->RedrawFlags, 0x705);
}

TEST_F(Form1Test, TheLogStaysEmptyUntilTheTimerTicksOnceAndThenNumbersGoOn) {
  PumpFor(300ms, form_.get());
  EXPECT_EQ(Module1::LogBox, nullptr);
  EXPECT_GT(Module1::TraceCount, countBeforeStart_) << "the targets' first paints are counted";
  EXPECT_EQ(WindowText(Control(Text1Id)), "");

  ASSERT_TRUE(PumpUntil([] { return Module1::LogBox != nullptr; }, Patience, form_.get()));
  EXPECT_GE(std::chrono::steady_clock::now() - created_, 600ms);
  EXPECT_EQ(Module1::LogBox, Control(Text1Id));
  ASSERT_TRUE(PumpUntilQuiet(Settle, Patience, form_.get()));
  const std::int32_t attachedAt = Module1::TraceCount;
  Click(Command3Id);
  Click(Command2Id);
  ASSERT_TRUE(PumpUntilQuiet(Settle, Patience, form_.get()));
  ASSERT_FALSE(Lines().empty());
  EXPECT_EQ(LineNumber(Lines().front()), attachedAt + 1);
  EXPECT_GT(LineNumber(Lines().front()), 1);

  Module1::LogBox = nullptr;
  PumpFor(1s, form_.get());
  EXPECT_EQ(Module1::LogBox, nullptr) << "the timer fires once";
}

TEST_F(Form1Test, StartUpFlagsOnTheButtonFrameAndEraseAtOnceAndPaintLater) {
  StartTracing();
  const RequestTrace trace = Press(Command2Id);
  EXPECT_EQ(WithoutNumbers(trace.During), (Events{
                                              "S WM_NCPAINT",
                                              "R WM_NCPAINT   lResult:  &H00000000",
                                              "S WM_ERASEBKGND",
                                              "R WM_ERASEBKGND   lResult:  &H00000001",
                                          }));
  EXPECT_EQ(WithoutNumbers(trace.Later), (Events{
                                             "S WM_PAINT",
                                             "R WM_PAINT   lResult:  &H00000000",
                                         }));
}

TEST_F(Form1Test, InvalidateRectErasesInsidePaintOnlyWhenEraseIsChecked) {
  StartTracing();
  const RequestTrace plain = Press(Command4Id);
  EXPECT_TRUE(plain.During.empty());
  EXPECT_EQ(WithoutNumbers(plain.Later), (Events{
                                             "S WM_PAINT",
                                             "R WM_PAINT   lResult:  &H00000000",
                                         }));
  Click(Check2Id);
  const RequestTrace erased = Press(Command4Id);
  EXPECT_TRUE(erased.During.empty());
  EXPECT_EQ(WithoutNumbers(erased.Later), (Events{
                                              "S WM_PAINT",
                                              "S WM_ERASEBKGND",
                                              "R WM_ERASEBKGND   lResult:  &H00000001",
                                              "R WM_PAINT   lResult:  &H00000000",
                                          }));
}

TEST_F(Form1Test, FlagBoxesKeepTheFlagWordAsARunningSum) {
  for (const FlagBox& box : Check1Boxes) {
    const std::int32_t value = ParseTag(box.Tag).value();
    Click(form_->FlagBoxControl(box.Index));
    EXPECT_EQ(form_->RedrawFlags, 0x605 ^ value) << box.Caption;
    Click(form_->FlagBoxControl(box.Index));
    EXPECT_EQ(form_->RedrawFlags, 0x605) << box.Caption;
  }
}

TEST_F(Form1Test, NoFlagCheckedMeansNoPaintMessage) {
  StartTracing();
  for (const FlagBox& box : Check1Boxes) SetFlag(box.Index, false);
  EXPECT_EQ(form_->RedrawFlags, 0);
  const RequestTrace trace = Press(Command2Id);
  EXPECT_TRUE(trace.During.empty());
  EXPECT_TRUE(trace.Later.empty());
}

TEST_F(Form1Test, BorderMakesBothRequestsAddressTheTextBox) {
  StartTracing();
  RealText2Proc = Module1::PrevProcText2;
  Module1::PrevProcText2 = reinterpret_cast<LONG>(&Text2Spy);
  Text2PaintMessages = 0;

  Click(Option2Id);
  EXPECT_TRUE(IsChecked(Control(Option2Id)));
  EXPECT_FALSE(IsChecked(Control(Option1Id)));
  EXPECT_EQ(form_->TargetHwnd, Control(Text2Id));
  const RequestTrace redrawn = Press(Command2Id);
  EXPECT_FALSE(redrawn.During.empty());
  const int afterRedraw = Text2PaintMessages;
  EXPECT_EQ(static_cast<std::size_t>(afterRedraw), (redrawn.During.size() + redrawn.Later.size()) / 2);
  const RequestTrace invalidated = Press(Command4Id);
  EXPECT_FALSE(invalidated.Later.empty());
  EXPECT_EQ(static_cast<std::size_t>(Text2PaintMessages - afterRedraw), invalidated.Later.size() / 2);

  Click(Option1Id);
  EXPECT_EQ(form_->TargetHwnd, Control(Command1Id));
  const int beforeButton = Text2PaintMessages;
  EXPECT_FALSE(Press(Command2Id).During.empty());
  EXPECT_EQ(Text2PaintMessages, beforeButton);
  Module1::PrevProcText2 = RealText2Proc;
}

TEST_F(Form1Test, ClearEmptiesTheLogAndNumberingGoesOn) {
  StartTracing();
  Click(Command2Id);
  ASSERT_TRUE(PumpUntilQuiet(Settle, Patience, form_.get()));
  const std::int32_t last = LineNumber(Lines().back());
  Click(Command3Id);
  EXPECT_EQ(WindowText(Control(Text1Id)), "");
  Click(Command2Id);
  ASSERT_TRUE(PumpUntilQuiet(Settle, Patience, form_.get()));
  ASSERT_FALSE(Lines().empty());
  EXPECT_EQ(LineNumber(Lines().front()), last + 1);
}

// What the log held at the moments that matter: when Clear empties it, and when the user types into it.
struct LogWatch {
  LONG Real = 0;
  std::vector<std::int32_t> LastNumberAtClear, CountAtClear;
  std::vector<std::int32_t> CountAtKey;
  std::string Expected;  // the text one line at a time would give, rebuilt as keys arrive
} Watch;

LRESULT CALLBACK WatchLog(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_SETTEXT) {
    const std::vector<std::string> lines = LogLines(WindowText(hwnd));
    Watch.LastNumberAtClear.push_back(lines.empty() ? -1 : LineNumber(lines.back()));
    Watch.CountAtClear.push_back(Module1::TraceCount);
  }
  if (message == WM_CHAR) Watch.CountAtKey.push_back(Module1::TraceCount);
  const LRESULT result = CallWindowProcA(reinterpret_cast<WNDPROC>(Watch.Real), hwnd, message, wParam, lParam);
  // The user selects the start of the log after each key; the next lines must still go to the end.
  if (message == WM_CHAR) SendMessageA(hwnd, EM_SETSEL, 0, 3);
  return result;
}

TEST_F(Form1Test, ClearComesAfterEveryLineTracedBeforeItAndNumberingGoesOn) {
  StartTracing();
  Watch = LogWatch{};
  Watch.Real = SetWindowLongA(Control(Text1Id), GWL_WNDPROC, reinterpret_cast<LONG>(&WatchLog));
  SetFlag(6, true);  // RDW_UPDATENOW: every message comes during the call
  for (int press = 0; press < 3; ++press) {
    Click(Command2Id);
    Click(Command3Id);
  }
  ASSERT_TRUE(PumpUntilQuiet(Settle, Patience, form_.get()));
  EXPECT_EQ(Watch.LastNumberAtClear, Watch.CountAtClear);
  EXPECT_EQ(WindowText(Control(Text1Id)), "");
  SetWindowLongA(Control(Text1Id), GWL_WNDPROC, Watch.Real);
}

TEST_F(Form1Test, ABurstOfRequestsAndKeysLeavesTheTextThatOneLineAtATimeWouldGive) {
  StartTracing();
  const HWND log = Control(Text1Id);
  Watch = LogWatch{};
  Watch.Real = SetWindowLongA(log, GWL_WNDPROC, reinterpret_cast<LONG>(&WatchLog));
  const std::int32_t first = Module1::TraceCount + 1;
  const std::string keys = "!#$%*+=?@^";  // no character of a trace line
  SetFocus(log);
  for (const char key : keys) {
    PostMessageA(Control(Command2Id), BM_CLICK, 0, 0);
    PostMessageA(log, WM_CHAR, static_cast<WPARAM>(key), 0);
  }
  PostMessageA(Control(Command2Id), BM_CLICK, 0, 0);
  ASSERT_TRUE(PumpUntilQuiet(Settle, Patience, form_.get()));
  SetWindowLongA(log, GWL_WNDPROC, Watch.Real);

  // Each key lands after exactly the lines traced before it was handled, at the very end.
  const std::string text = WindowText(log);
  ASSERT_EQ(Watch.CountAtKey.size(), keys.size());
  std::string withoutKeys = text;
  for (const char key : keys) withoutKeys.erase(withoutKeys.find(key), 1);
  const std::vector<std::string> lines = LogLines(withoutKeys);
  std::string expected;
  std::size_t at = 0;
  ASSERT_EQ(lines.size(), static_cast<std::size_t>(Module1::TraceCount - first + 1));
  EXPECT_TRUE(NumberedFrom(lines, first));
  for (const std::string& line : lines) {
    while (at < keys.size() && Watch.CountAtKey[at] < LineNumber(line)) expected += keys[at++];
    expected += line + "\r\n";
  }
  expected.append(keys.substr(at));
  EXPECT_EQ(text, expected);
  DWORD start = 0, end = 0;
  SendMessageA(log, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(start, text.size());
}

TEST_F(Form1Test, ClosingWhileLinesAreOnTheirWayNeitherCrashesNorLeavesTheLoopRunning) {
  StartTracing();
  const HWND redraw = Control(Command2Id);
  const int quits = QuitMessagesSeen();
  for (int press = 0; press < 20; ++press) PostMessageA(redraw, BM_CLICK, 0, 0);
  PostMessageA(form_->Hwnd(), WM_CLOSE, 0, 0);
  for (int press = 0; press < 20; ++press) PostMessageA(redraw, BM_CLICK, 0, 0);
  EXPECT_TRUE(PumpUntil([&] { return form_->Hwnd() == nullptr; }, Patience));
  const std::int32_t count = Module1::TraceCount;
  PumpFor(100ms);  // the lines collected last had a box that is gone by now
  EXPECT_EQ(Module1::TraceCount, count);
  EXPECT_EQ(QuitMessagesSeen(), quits + 1) << "closing the form must end the message loop";
}

TEST_F(Form1Test, TypingAndSelectingInTheLogDoNotStopLinesGoingToTheEnd) {
  StartTracing();
  const HWND log = Control(Text1Id);
  for (const char c : std::string("note")) SendMessageA(log, WM_CHAR, static_cast<WPARAM>(c), 0);
  SendMessageA(log, EM_SETSEL, 1, 3);
  Click(Command2Id);
  ASSERT_TRUE(PumpUntilQuiet(Settle, Patience, form_.get()));
  const std::string text = WindowText(log);
  ASSERT_EQ(text.substr(0, 4), "note");
  const std::vector<std::string> lines = LogLines(text.substr(4));
  EXPECT_EQ(lines.size(), 6u);
  EXPECT_TRUE(NumberedFrom(lines, LineNumber(lines.front())));
  EXPECT_EQ(text.substr(text.size() - 2), "\r\n");
}

// Checks each target and the log as they are destroyed, after the form's own unload has run.
struct UnloadCheck {
  HWND Command1, Text2;
  LONG ExpectedCommand1, ExpectedText2;
  int Checked = 0;
  bool Restored = true;
  HWND Log = nullptr;
  LONG LogProcedure = 0;  // what the log had when it went
  std::string LogText{};  // what the log held when it went
} Unload;

LRESULT CALLBACK WatchDestroy(int code, WPARAM wParam, LPARAM lParam) {
  const auto* sent = reinterpret_cast<const CWPSTRUCT*>(lParam);
  if (code == HC_ACTION && sent->message == WM_DESTROY && sent->hwnd == Unload.Log) {
    Unload.LogProcedure = GetWindowLongA(sent->hwnd, GWL_WNDPROC);
    Unload.LogText = WindowText(sent->hwnd);
  }
  if (code == HC_ACTION && sent->message == WM_DESTROY &&
      (sent->hwnd == Unload.Command1 || sent->hwnd == Unload.Text2)) {
    const LONG expected = sent->hwnd == Unload.Command1 ? Unload.ExpectedCommand1 : Unload.ExpectedText2;
    Unload.Restored = Unload.Restored && GetWindowLongA(sent->hwnd, GWL_WNDPROC) == expected;
    const std::int32_t before = Module1::TraceCount;
    SendMessageA(sent->hwnd, WM_ERASEBKGND, 0, 0);
    if (Module1::TraceCount != before) Unload.Restored = false;
    ++Unload.Checked;
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

TEST_F(Form1Test, ClosingPutsPendingLinesIntoTheLogAndLetsGoOfItButKeepsTheSavedValues) {
  StartTracing();
  const HWND log = Control(Text1Id);
  Unload = {Control(Command1Id), Control(Text2Id), Module1::PrevProcCommand1, Module1::PrevProcText2};
  Unload.Log = log;
  const auto editProcedure = static_cast<LONG>(GetClassLongPtrA(log, GCLP_WNDPROC));
  SendMessageA(Unload.Command1, WM_NCPAINT, 1, 0);  // two lines on their way to the log
  const std::int32_t last = Module1::TraceCount;
  const HHOOK hook = SetWindowsHookExA(WH_CALLWNDPROC, &WatchDestroy, nullptr, GetCurrentThreadId());
  SendMessageA(form_->Hwnd(), WM_CLOSE, 0, 0);
  UnhookWindowsHookEx(hook);
  ASSERT_EQ(Unload.Checked, 2);
  const std::vector<std::string> lines = LogLines(Unload.LogText);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(LineNumber(lines.back()), last);
  EXPECT_EQ(Unload.LogProcedure, editProcedure) << "the log is still watched";
  EXPECT_EQ(Module1::LogBox, log);
  EXPECT_EQ(Module1::PrevProcCommand1, Unload.ExpectedCommand1);
  EXPECT_EQ(Module1::PrevProcText2, Unload.ExpectedText2);
}

TEST_F(Form1Test, ClosingPutsBothPreviousProceduresBackBeforeTheControlsGo) {
  PumpFor(50ms, form_.get());
  Unload = {Control(Command1Id), Control(Text2Id), Module1::PrevProcCommand1, Module1::PrevProcText2};
  EXPECT_EQ(GetWindowLongA(Unload.Command1, GWL_WNDPROC), reinterpret_cast<LONG>(&Module1::TraceWndProc));
  EXPECT_EQ(GetWindowLongA(Unload.Text2, GWL_WNDPROC), reinterpret_cast<LONG>(&Module1::TraceWndProc));
  const HHOOK hook = SetWindowsHookExA(WH_CALLWNDPROC, &WatchDestroy, nullptr, GetCurrentThreadId());
  SendMessageA(form_->Hwnd(), WM_CLOSE, 0, 0);
  UnhookWindowsHookEx(hook);
  EXPECT_EQ(form_->Hwnd(), nullptr);
  EXPECT_EQ(Unload.Checked, 2);
  EXPECT_TRUE(Unload.Restored);
}

WNDPROC PlatformDefWindowProc = nullptr;
HWND DefaultNcDestroyFor = nullptr;

LRESULT WINAPI RecordDefaultNcDestroy(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCDESTROY) DefaultNcDestroyFor = hwnd;
  return PlatformDefWindowProc(hwnd, message, wParam, lParam);
}

TEST_F(Form1Test, TheLastMessageReachesTheDefaultProcessingWithTheWindowsOwnHandle) {
  const HWND form = form_->Hwnd();
  const ImportPatch patch("user32.dll", "DefWindowProcA", &RecordDefaultNcDestroy);
  ASSERT_TRUE(patch.Applied());
  PlatformDefWindowProc = patch.Original<LRESULT WINAPI(HWND, UINT, WPARAM, LPARAM)>();
  DefaultNcDestroyFor = nullptr;
  form_.reset();
  EXPECT_EQ(DefaultNcDestroyFor, form);
}

// Refuses the log box, as the platform does when it cannot make one more window.
LRESULT CALLBACK RefuseMultiLineEdits(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_CREATEWND) {
    const CREATESTRUCTA* create = reinterpret_cast<const CBT_CREATEWNDA*>(lParam)->lpcs;
    const bool named = HIWORD(reinterpret_cast<ULONG_PTR>(create->lpszClass)) != 0;
    if (named && lstrcmpiA(create->lpszClass, "EDIT") == 0 && (create->style & ES_MULTILINE)) return 1;
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

TEST(Form1StartUp, AControlThatCannotBeCreatedLeavesNoWindowBehind) {
  const HHOOK hook = SetWindowsHookExA(WH_CBT, &RefuseMultiLineEdits, nullptr, GetCurrentThreadId());
  Form1 form(GetModuleHandleA(nullptr));
  UnhookWindowsHookEx(hook);
  EXPECT_EQ(form.Hwnd(), nullptr);
  PumpFor(20ms);
}

TEST(Form1Log, KeepsEveryLineFarPastTheEditBoxDefaultLimit) {
  Form1 form(GetModuleHandleA(nullptr));  // never shown: appending to a hidden box is fast
  const HWND log = form.Control(Text1Id);
  std::string expected;
  for (std::int32_t number = 1; number <= 1400; ++number) {
    const std::string line = Module1::FormatReturnLine(number, "WM_ERASEBKGND", 1);
    Module1::AppendLogLine(log, line);
    expected += line + "\r\n";
  }
  ASSERT_GT(expected.size(), 60000u);
  Module1::FlushLog();
  EXPECT_TRUE(WindowText(log) == expected) << WindowText(log).size() << " of " << expected.size() << " characters";
}

}  // namespace

namespace {

// The width each kind of control leaves for its caption, from how the classic controls draw: a push button
// inside its 3-D edges, a check or option box after its box and half a digit's gap, a text box between its
// margins, a frame's caption a digit in from each corner.
int RoomForCaption(HWND control, ControlKind kind, HDC dc) {
  RECT client;
  GetClientRect(control, &client);
  SIZE digit;
  GetTextExtentPoint32A(dc, "0", 1, &digit);
  if (kind == ControlKind::PushButton) return client.right - 2 * GetSystemMetrics(SM_CXEDGE);
  if (kind == ControlKind::TextBox) {
    const auto margins = static_cast<DWORD>(SendMessageA(control, EM_GETMARGINS, 0, 0));
    return client.right - LOWORD(margins) - HIWORD(margins);
  }
  if (kind == ControlKind::GroupFrame) return client.right - 2 * digit.cx;
  return client.right - GetSystemMetrics(SM_CXMENUCHECK) - digit.cx / 2;
}

// What is left over on each side of a caption in its control's own font; negative when it is cut off.
int CaptionMargin(HWND control, ControlKind kind, const char* caption) {
  const HDC dc = GetDC(control);
  const HGDIOBJ previous = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0)));
  SIZE text;
  GetTextExtentPoint32A(dc, caption, lstrlenA(caption), &text);
  const int margin = (RoomForCaption(control, kind, dc) - text.cx) / 2;
  SelectObject(dc, previous);
  ReleaseDC(control, dc);
  return margin;
}

// Run at each system DPI by the program's tests, in a process of its own that starts at that DPI.
TEST(Form1Look, EveryCaptionFitsItsControlWithAirOnBothSides) {
  Form1 form(GetModuleHandleA(nullptr));
  const HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
  ReleaseDC(nullptr, screen);
  const int air = MulDiv(2, dpi, 96);
  int narrowest = 1000;
  const auto check = [&](HWND control, ControlKind kind, const char* caption) {
    const int margin = CaptionMargin(control, kind, caption);
    EXPECT_GE(margin, air) << '"' << caption << "\" at " << dpi << " DPI";
    narrowest = std::min(narrowest, margin);
  };
  for (const FlagBox& box : Check1Boxes) check(form.FlagBoxControl(box.Index), ControlKind::CheckBox, box.Caption);
  for (const ControlSpec& spec : Form1Controls) {
    if (spec.Kind != ControlKind::LogBox) check(form.Control(spec.Id), spec.Kind, spec.Caption);
  }
  LOGFONTA font{};
  GetObjectA(reinterpret_cast<HFONT>(SendMessageA(form.Control(Command4Id), WM_GETFONT, 0, 0)), sizeof font, &font);
  std::printf("%d DPI: %s, %ld pixels; narrowest margin %d pixels\n", dpi, font.lfFaceName, -font.lfHeight, narrowest);
}

}  // namespace
