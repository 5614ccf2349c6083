#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <limits>
#include <memory>
#include <new>
#include <set>
#include <utility>
#include <vector>

#include "main_window/message_pump.h"
#include "paint_trace/module1.h"
#include "paint_trace/trace_lines.h"
#include "paint_trace/trace_log.h"
#include "support/failing_allocator.h"
#include "support/import_patch.h"
#include "support/spy.h"

namespace {

constexpr UINT UntracedMessage = WM_USER + 1;
constexpr LRESULT UntracedResult = 0x12345678;

struct Call {
  HWND Hwnd;
  UINT Message;
  std::size_t LogLength;  // characters in the log when the window's own procedure ran
};

// What the hooked windows' own procedure saw and answers.
struct TargetBehaviour {
  std::vector<Call> Calls;
  LRESULT EraseResult = 1;
  bool PaintSendsErase = false;
  DWORD PaintMs = 0;  // how long a paint takes before it erases
  HWND Log = nullptr;
} Target;

LRESULT CALLBACK TargetProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  const std::size_t logLength = Target.Log ? static_cast<std::size_t>(GetWindowTextLengthA(Target.Log)) : 0;
  switch (message) {
    case WM_PAINT:
    case WM_ERASEBKGND:
    case WM_NCPAINT:
    case UntracedMessage: Target.Calls.push_back({hwnd, message, logLength}); break;
  }
  switch (message) {
    case WM_PAINT:
      Sleep(Target.PaintMs);
      if (Target.PaintSendsErase) SendMessageA(hwnd, WM_ERASEBKGND, 0, 0);
      return 0;
    case WM_ERASEBKGND: return Target.EraseResult;
    case WM_NCPAINT: return 0;
    case UntracedMessage: return UntracedResult;
  }
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

class TraceWndProcTest : public ::testing::Test {
 protected:
  void SetUp() override {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = &TargetProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "MoravaneTestTarget";
    RegisterClassA(&windowClass);
    parent_ = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 200, 200, nullptr, nullptr, nullptr, nullptr);
    command1_ = CreateTarget(1);
    text2_ = CreateTarget(2);
    log_ = CreateWindowExA(0, "EDIT", "", WS_CHILD | ES_MULTILINE | ES_AUTOVSCROLL, 0, 0, 100, 100, parent_, nullptr,
                           nullptr, nullptr);
    SendMessageA(log_, EM_SETLIMITTEXT, 0, 0);
    Module1::HookedCommand1 = command1_;
    Module1::PrevProcCommand1 = Hook(command1_);
    Module1::PrevProcText2 = Hook(text2_);
    Module1::AttachLog(log_);
    Target = TargetBehaviour{};
    countBefore_ = Module1::TraceCount;
  }

  // The process as the test found it: a counter left at its maximum would overflow the next test's sums.
  void TearDown() override {
    Module1::TraceCount = countBefore_;
    DestroyWindow(parent_);
    Module1::ReleaseLog();  // in case a test cut the log's watch out of the box
    Module1::LogBox = nullptr;
  }

  static LONG Hook(HWND hwnd) {
    return SetWindowLongA(hwnd, GWL_WNDPROC, reinterpret_cast<LONG>(&Module1::TraceWndProc));
  }

  HWND CreateTarget(int id) const {
    return CreateWindowExA(0, "MoravaneTestTarget", "", WS_CHILD, 0, 0, 50, 50, parent_, reinterpret_cast<HMENU>(id),
                           nullptr, nullptr);
  }

  // Whoever reads the log finds every line traced so far.
  std::string LogText() const { return WindowText(log_); }
  std::vector<std::string> Lines() const { return LogLines(LogText()); }

  HWND parent_ = nullptr, command1_ = nullptr, text2_ = nullptr, log_ = nullptr;
  std::int32_t countBefore_ = 0;
};

TEST_F(TraceWndProcTest, AnUntracedMessageIsForwardedOnceWithItsResultAndLeavesNoLine) {
  const std::int32_t before = Module1::TraceCount;
  EXPECT_EQ(SendMessageA(command1_, UntracedMessage, 0, 0), UntracedResult);
  ASSERT_EQ(Target.Calls.size(), 1u);
  EXPECT_EQ(Target.Calls[0].Hwnd, command1_);
  EXPECT_EQ(Module1::TraceCount, before);
  EXPECT_EQ(LogText(), "");
}

TEST_F(TraceWndProcTest, ATracedMessageGetsItsSendLineBeforeAndItsReturnLineAfterTheCall) {
  Module1::TraceCount = 41;
  Target.Log = log_;
  EXPECT_EQ(SendMessageA(command1_, WM_NCPAINT, 1, 0), 0);
  EXPECT_EQ(LogText(), "<000042> S WM_NCPAINT\r\n<000043> R WM_NCPAINT   lResult:  &H00000000\r\n");
  ASSERT_EQ(Target.Calls.size(), 1u);
  EXPECT_EQ(Target.Calls[0].LogLength, std::string("<000042> S WM_NCPAINT\r\n").size());
  EXPECT_EQ(Module1::TraceCount, 43);
}

TEST_F(TraceWndProcTest, TheResultIsReturnedUnchangedAndWrittenInHex) {
  Module1::TraceCount = 0;
  for (const LRESULT result : {LRESULT{0}, LRESULT{1}, LRESULT{-1}}) {
    Target.EraseResult = result;
    EXPECT_EQ(SendMessageA(text2_, WM_ERASEBKGND, 0, 0), result);
  }
  EXPECT_EQ(WithoutNumbers(Lines()),
            (std::vector<std::string>{"S WM_ERASEBKGND", "R WM_ERASEBKGND   lResult:  &H00000000", "S WM_ERASEBKGND",
                                      "R WM_ERASEBKGND   lResult:  &H00000001", "S WM_ERASEBKGND",
                                      "R WM_ERASEBKGND   lResult:  &HFFFFFFFF"}));
  EXPECT_TRUE(NumberedFrom(Lines(), 1));
}

TEST_F(TraceWndProcTest, AMessageSentWhileAnotherIsHandledNestsInsideIt) {
  Module1::TraceCount = 99;
  Target.PaintSendsErase = true;
  SendMessageA(command1_, WM_PAINT, 0, 0);
  EXPECT_EQ(Lines(), (std::vector<std::string>{"<000100> S WM_PAINT", "<000101> S WM_ERASEBKGND",
                                               "<000102> R WM_ERASEBKGND   lResult:  &H00000001",
                                               "<000103> R WM_PAINT   lResult:  &H00000000"}));
}

TEST_F(TraceWndProcTest, EachWindowReachesItsOwnPreviousProcedure) {
  int text2Calls = 0;  // a second procedure for Text2 only, so a mix-up of the two saved procedures shows
  {
    const Spy text2(Module1::PrevProcText2, Spy::Watching([&](HWND, UINT, WPARAM, LPARAM) { ++text2Calls; }));
    SendMessageA(command1_, WM_PAINT, 0, 0);
    EXPECT_EQ(text2Calls, 0);
    SendMessageA(text2_, WM_PAINT, 0, 0);
    EXPECT_EQ(text2Calls, 1);
  }
  ASSERT_EQ(Target.Calls.size(), 2u);
  EXPECT_EQ(Target.Calls[0].Hwnd, command1_);
  EXPECT_EQ(Target.Calls[1].Hwnd, text2_);
}

TEST_F(TraceWndProcTest, WithoutALogBoxTheCounterStillAdvancesByTwoAndNothingIsKeptForLater) {
  Module1::LogBox = nullptr;
  const std::int32_t before = Module1::TraceCount;
  EXPECT_EQ(SendMessageA(command1_, WM_ERASEBKGND, 0, 0), 1);
  EXPECT_EQ(Module1::TraceCount, before + 2);
  Module1::LogBox = log_;
  PumpFor(std::chrono::milliseconds(50));
  EXPECT_EQ(LogText(), "");
  EXPECT_EQ(Target.Calls.size(), 1u);
}

// The retrieval hooks the log has installed and not yet removed.
std::set<HHOOK> LiveHooks;
ImportPatch* HookPatch = nullptr;
ImportPatch* UnhookPatch = nullptr;

HHOOK WINAPI InstallHook(int kind, HOOKPROC procedure, HINSTANCE module, DWORD thread) {
  const HHOOK hook = HookPatch->Original<decltype(SetWindowsHookExA)>()(kind, procedure, module, thread);
  if (kind == WH_GETMESSAGE) LiveHooks.insert(hook);
  return hook;
}

BOOL WINAPI RemoveHook(HHOOK hook) {
  LiveHooks.erase(hook);
  return UnhookPatch->Original<decltype(UnhookWindowsHookEx)>()(hook);
}

TEST_F(TraceWndProcTest, ALogBoxThatGoesTakesNoMoreLinesLeavesNoHookAndTheMessageStillGoesThrough) {
  ImportPatch install("user32.dll", "SetWindowsHookExA", &InstallHook),
      remove("user32.dll", "UnhookWindowsHookEx", &RemoveHook);
  HookPatch = &install;
  UnhookPatch = &remove;
  ASSERT_TRUE(install.Applied() && remove.Applied());
  LiveHooks.clear();
  Module1::AttachLog(log_);
  ASSERT_EQ(LiveHooks.size(), 1u);
  int replacesWhileGoing = 0;
  bool going = false;
  const Spy watch(log_, Spy::Watching([&](HWND, UINT message, WPARAM, LPARAM) {
                    going = going || message == WM_DESTROY;
                    if (going && message == EM_REPLACESEL) ++replacesWhileGoing;
                  }));
  SendMessageA(text2_, WM_PAINT, 0, 0);  // lines on their way to the box when it goes
  DestroyWindow(log_);
  Target.Log = nullptr;
  EXPECT_EQ(replacesWhileGoing, 0) << "lines put into a box that is being destroyed";
  EXPECT_TRUE(LiveHooks.empty()) << "the log's retrieval hook outlived its box";
  const std::int32_t before = Module1::TraceCount;
  EXPECT_EQ(SendMessageA(text2_, WM_ERASEBKGND, 0, 0), 1);
  EXPECT_EQ(Module1::TraceCount, before + 2);
  PumpFor(std::chrono::milliseconds(50));
  Module1::FlushLog();
  EXPECT_EQ(Target.Calls.size(), 2u);
  HookPatch = UnhookPatch = nullptr;
}

TEST_F(TraceWndProcTest, TheCounterSticksAtItsMaximumAndLinesAreStillWritten) {
  Module1::TraceCount = std::numeric_limits<std::int32_t>::max() - 1;
  SendMessageA(command1_, WM_PAINT, 0, 0);
  SendMessageA(command1_, WM_PAINT, 0, 0);
  EXPECT_EQ(Module1::TraceCount, std::numeric_limits<std::int32_t>::max());
  EXPECT_EQ(Lines(),
            (std::vector<std::string>{"<2147483647> S WM_PAINT", "<2147483647> R WM_PAINT   lResult:  &H00000000",
                                      "<2147483647> S WM_PAINT", "<2147483647> R WM_PAINT   lResult:  &H00000000"}));
  EXPECT_EQ(Target.Calls.size(), 2u);
}

TEST_F(TraceWndProcTest, LinesGoToTheVeryEndWhateverTheUserTypedOrSelectedAndTheSelectionStays) {
  SetWindowTextA(log_, "typed by the user");
  SendMessageA(log_, EM_SETSEL, 9, 17);  // up to the very end: lines put in its place would replace it
  Module1::TraceCount = 6;
  SendMessageA(command1_, WM_NCPAINT, 1, 0);
  EXPECT_EQ(LogText(), "typed by the user<000007> S WM_NCPAINT\r\n<000008> R WM_NCPAINT   lResult:  &H00000000\r\n");
  DWORD start = 0, end = 0;
  SendMessageA(log_, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(start, 9u);
  EXPECT_EQ(end, 17u);
}

TEST_F(TraceWndProcTest, AFailureWhileBuildingOrAppendingALineIsSwallowedAndTheMessageStillGoesThrough) {
  Module1::TraceCount = 0;
  Target.EraseResult = 7;
  Target.Calls.reserve(16);  // the target itself must not need memory
  for (int allocations = 0; allocations < 8; ++allocations) {
    const std::int32_t before = Module1::TraceCount;
    AllocationsBeforeFailure = allocations;
    const LRESULT result = SendMessageA(text2_, WM_ERASEBKGND, 0, 0);
    AllocationsBeforeFailure = -1;
    EXPECT_EQ(result, 7) << allocations;
    EXPECT_EQ(Module1::TraceCount, before + 2);
  }
  EXPECT_EQ(Target.Calls.size(), 8u);
  // Whatever reached the log are whole lines; a line either made it or was dropped.
  for (const std::string& line : WithoutNumbers(Lines())) {
    EXPECT_TRUE(line == "S WM_ERASEBKGND" || line == "R WM_ERASEBKGND   lResult:  &H00000007") << line;
  }
  SendMessageA(text2_, WM_ERASEBKGND, 0, 0);
  EXPECT_EQ(Lines().back(), "<000018> R WM_ERASEBKGND   lResult:  &H00000007");
}

int TimerMessages = 0;

LRESULT CALLBACK CountTimerMessages(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HC_ACTION && wParam == PM_REMOVE && reinterpret_cast<const MSG*>(lParam)->message == WM_TIMER) {
    ++TimerMessages;
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

// Appends, letting memory run out after the given number of allocations; an escaping failure is the hook's.
void AppendWithAllocations(HWND box, const std::string& line, int allocations) {
  AllocationsBeforeFailure = allocations;
  try {
    Module1::AppendLogLine(box, line);
  } catch (const std::bad_alloc&) {
  }
  AllocationsBeforeFailure = -1;
}

class CollectedLinesTest : public TraceWndProcTest {
 protected:
  // What reaches the log box: how many replaces and when the last came, and how many of the user's keys came. It
  // can also make a replace do more, once, as a modal loop inside the box would.
  void SetUp() override {
    TraceWndProcTest::SetUp();
    spy_ = std::make_unique<Spy>(log_, Spy::Watching([this](HWND, UINT message, WPARAM, LPARAM) {
                                   if (message == EM_REPLACESEL) {
                                     ++replaces_;
                                     lastReplace_ = std::chrono::steady_clock::now();
                                   }
                                   if (message == EM_REPLACESEL && onReplace_) std::exchange(onReplace_, nullptr)();
                                   // Asking the box anything here would bring the lines in before the key.
                                   if (message == WM_CHAR) ++keys_;
                                 }));
  }
  void TearDown() override {
    spy_.reset();
    TraceWndProcTest::TearDown();
  }
  // The text appending each line on its own would give.
  static std::string LinesNumbered(std::int32_t first, int paints) {
    std::string text;
    for (int i = 0; i < paints; ++i, first += 2) {
      text += Module1::FormatSendLine(first, "WM_PAINT") + "\r\n" +
              Module1::FormatReturnLine(first + 1, "WM_PAINT", 0) + "\r\n";
    }
    return text;
  }

  int replaces_ = 0;
  std::chrono::steady_clock::time_point lastReplace_;
  int keys_ = 0;
  std::function<void()> onReplace_;
  std::unique_ptr<Spy> spy_;
};

TEST_F(CollectedLinesTest, ABurstReachesTheLogWithFewReplacesAndTheSameTextOnceTheLoopIsIdle) {
  Module1::TraceCount = 0;
  for (int i = 0; i < 50; ++i) SendMessageA(command1_, WM_PAINT, 0, 0);
  // No message follows: the loop itself must not leave the last lines waiting.
  EXPECT_TRUE(PumpUntil([&] { return WindowText(log_) == LinesNumbered(1, 50); }, std::chrono::seconds(1)));
  EXPECT_LE(replaces_, 3) << "100 lines";
}

TEST_F(CollectedLinesTest, KeysTypedIntoTheLogComeAfterEveryLineTracedBeforeThem) {
  Module1::TraceCount = 0;
  for (const char key : std::string("ab")) {
    SendMessageA(text2_, WM_PAINT, 0, 0);
    PostMessageA(log_, WM_CHAR, static_cast<WPARAM>(key), 0);
    const int typed = keys_;
    ASSERT_TRUE(PumpUntil([&] { return keys_ > typed; }, std::chrono::seconds(1)));
  }
  SendMessageA(text2_, WM_PAINT, 0, 0);
  PumpFor(std::chrono::milliseconds(100));
  const std::string first = LinesNumbered(1, 1), second = LinesNumbered(3, 1), third = LinesNumbered(5, 1);
  EXPECT_EQ(WindowText(log_), first + "a" + second + "b" + third);
  DWORD start = 0, end = 0;
  SendMessageA(log_, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(end, WindowText(log_).size());
}

}  // namespace

namespace {

TEST_F(CollectedLinesTest, ALineIsKeptWholeOrNotAtAllWhenMemoryRunsOut) {
  const std::string line(100, 'x');
  for (int allocations = 0; allocations < 3; ++allocations) {
    AppendWithAllocations(log_, line, allocations);
    Module1::AppendLogLine(log_, "next");
  }
  Module1::FlushLog();
  const std::vector<std::string> lines = LogLines(LogText());
  EXPECT_EQ(std::count(lines.begin(), lines.end(), "next"), 3) << "a line after a failed one was lost";
  for (const std::string& kept : lines) EXPECT_TRUE(kept == line || kept == "next") << kept.size() << " characters";
}

TEST_F(CollectedLinesTest, AFailedAppendArmsNoTimerAndABatchArmsOneThatFiresOnce) {
  const HHOOK hook = SetWindowsHookExA(WH_GETMESSAGE, &CountTimerMessages, nullptr, GetCurrentThreadId());
  TimerMessages = 0;
  AppendWithAllocations(log_, std::string(1 << 20, 'x'), 0);  // more than was ever collected
  PumpFor(std::chrono::milliseconds(100));
  EXPECT_EQ(TimerMessages, 0) << "a timer without a line to bring";
  for (int i = 0; i < 5; ++i) SendMessageA(command1_, WM_PAINT, 0, 0);
  EXPECT_TRUE(PumpUntil([&] { return replaces_ > 0; }, std::chrono::seconds(1)));
  PumpFor(std::chrono::milliseconds(100));
  UnhookWindowsHookEx(hook);
  EXPECT_EQ(TimerMessages, 1);
}

TEST_F(CollectedLinesTest, LinesTracedWhileTheBoxTakesABatchComeAfterItInTheBoxTheyWereFor) {
  Module1::TraceCount = 0;
  SendMessageA(command1_, WM_PAINT, 0, 0);
  onReplace_ = [this] {
    SendMessageA(text2_, WM_PAINT, 0, 0);
    Module1::FlushLog();
  };
  Module1::FlushLog();
  EXPECT_EQ(WindowText(log_), LinesNumbered(1, 2));

  // The lines go to another box while this one takes its batch.
  const HWND other = CreateWindowExA(0, "EDIT", "", WS_CHILD | ES_MULTILINE | ES_AUTOVSCROLL | ES_AUTOHSCROLL, 0, 0,
                                     100, 100, parent_, nullptr, nullptr, nullptr);
  SendMessageA(command1_, WM_PAINT, 0, 0);
  onReplace_ = [this, other] {
    Module1::LogBox = other;
    SendMessageA(text2_, WM_PAINT, 0, 0);
  };
  Module1::FlushLog();
  PumpFor(std::chrono::milliseconds(50));
  EXPECT_EQ(WindowText(log_), LinesNumbered(1, 3));
  EXPECT_EQ(WindowText(other), LinesNumbered(7, 1));
}

TEST_F(CollectedLinesTest, AnIdleLoopGetsTheLinesWhenTheOldestIsDueAndNotBefore) {
  const auto kept = std::chrono::steady_clock::now();
  SendMessageA(command1_, WM_PAINT, 0, 0);
  ASSERT_TRUE(PumpUntil([&] { return replaces_ > 0; }, std::chrono::seconds(1)));
  // A millisecond of slack for a timer rounded to the platform's tick, and ten for a busy machine.
  const auto waited = std::chrono::duration_cast<std::chrono::milliseconds>(lastReplace_ - kept).count();
  EXPECT_GE(waited, 20 - 1) << "milliseconds";
  EXPECT_LT(waited, 20 + 10) << "milliseconds";

  // At the pace of a box that took 5 ms for one line, twelve lines would end past the promise: they wait a third
  // of that batch, not the 20 ms the first of them alone was due in.
  const Spy slow(log_, [](const Spy& self, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    const LRESULT result = self.Forward(hwnd, message, wParam, lParam);
    if (message == EM_REPLACESEL) Sleep(5);
    return result;
  });
  Module1::AppendLogLine(log_, "pace");
  Module1::FlushLog();
  const int before = replaces_;
  const auto twelve = std::chrono::steady_clock::now();
  for (int i = 0; i < 6; ++i) SendMessageA(command1_, WM_PAINT, 0, 0);
  ASSERT_TRUE(PumpUntil([&] { return replaces_ > before; }, std::chrono::seconds(1)));
  const auto soon = std::chrono::duration_cast<std::chrono::milliseconds>(lastReplace_ - twelve).count();
  // A third of 5 ms, with all the slack a busy host needs short of the 20 ms a timer not brought forward waits.
  EXPECT_LT(soon, 20 - 2) << "milliseconds: the timer was not brought forward";
}

// As in a very large log on a slow machine: a replace takes longer than a line may wait.
TEST_F(CollectedLinesTest, ABoxSlowerThanThePromiseTakesLargerBatchesNeverLinesOneByOne) {
  std::chrono::steady_clock::time_point replaced{};
  const Spy slow(log_, Spy::Watching([&](HWND, UINT message, WPARAM, LPARAM) {
                   if (message != EM_REPLACESEL) return;
                   replaced = std::chrono::steady_clock::now();
                   Sleep(80);
                 }));
  Module1::AppendLogLine(log_, "batch");
  Module1::FlushLog();
  Module1::TraceCount = 0;
  Target.PaintSendsErase = true;
  Target.PaintMs = 30;  // longer than the slow box lets a line wait
  SendMessageA(command1_, WM_PAINT, 0, 0);
  EXPECT_TRUE(PumpUntil([&] { return replaces_ == 2; }, std::chrono::seconds(1)));
  PumpFor(std::chrono::milliseconds(100));
  EXPECT_EQ(replaces_, 2) << "the message's lines went in apart";
  EXPECT_EQ(Lines(), (std::vector<std::string>{"batch", "<000001> S WM_PAINT", "<000002> S WM_ERASEBKGND",
                                               "<000003> R WM_ERASEBKGND   lResult:  &H00000001",
                                               "<000004> R WM_PAINT   lResult:  &H00000000"}));

  // Messages 10 ms apart: the box takes 80 ms a batch, so a line may wait for up to that before its batch starts.
  Target = {};
  const auto kept = std::chrono::steady_clock::now();
  for (int i = 0; i < 3; ++i) {
    SendMessageA(command1_, WM_PAINT, 0, 0);
    PumpFor(std::chrono::milliseconds(10));
  }
  EXPECT_TRUE(PumpUntil([&] { return replaces_ > 2; }, std::chrono::seconds(1)));
  PumpFor(std::chrono::milliseconds(100));
  EXPECT_EQ(replaces_, 3) << "three messages close together went in apart";
  EXPECT_EQ(Lines().size(), 5u + 6u);
  const auto waited = std::chrono::duration_cast<std::chrono::milliseconds>(replaced - kept).count();
  EXPECT_LT(waited, 80 + 10) << "milliseconds: the first line waited longer than a batch takes";
}

TEST_F(TraceWndProcTest, AnEmptyPaintLeavesThePaceTheBoxsLastRealPaintShowed) {
  ShowWindow(parent_, SW_SHOWNOACTIVATE);
  const HWND box = CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_AUTOVSCROLL, 0, 0, 100, 100,
                                   parent_, nullptr, nullptr, nullptr);
  std::chrono::steady_clock::time_point replaced{};
  // Under the log's watch, which therefore sees how long the box takes to paint: far too long for the promise.
  const Spy slow(box, Spy::Watching([&](HWND hwnd, UINT message, WPARAM, LPARAM) {
                   if (message == EM_REPLACESEL) replaced = std::chrono::steady_clock::now();
                   if (message == WM_PAINT && GetUpdateRect(hwnd, nullptr, FALSE)) Sleep(90);
                 }));
  Module1::AttachLog(box);
  Module1::AppendLogLine(box, "a");
  Module1::FlushLog();
  // A busy host delays a try, and anything that reaches the box brings its line in early: the middle of five tries
  // is the figure.
  const auto typicalWait = [&](bool emptyPaintFirst) {
    std::vector<long long> waits;
    for (int attempt = 0; attempt < 5; ++attempt) {
      if (emptyPaintFirst) SendMessageA(box, WM_PAINT, 0, 0);  // nothing left to paint
      const auto kept = std::chrono::steady_clock::now();
      Module1::AppendLogLine(box, "b");
      EXPECT_TRUE(PumpUntil([&] { return replaced > kept; }, std::chrono::seconds(1)));
      waits.push_back(std::chrono::duration_cast<std::chrono::milliseconds>(replaced - kept).count());
    }
    std::nth_element(waits.begin(), waits.begin() + 2, waits.end());
    return waits[2];
  };
  const long long withoutEmptyPaint = typicalWait(false);
  EXPECT_NEAR(typicalWait(true), withoutEmptyPaint, 5) << "milliseconds: the line waited as if the box painted at once";
}

TEST_F(CollectedLinesTest, ALogLetGoOfKeepsWorkingAndIsWatchedAgainWhenAttachedAgainEvenIfCutOut) {
  Module1::AppendLogLine(log_, "a");
  const HWND other =
      CreateWindowExA(0, "EDIT", "", WS_CHILD | ES_MULTILINE, 0, 0, 100, 100, parent_, nullptr, nullptr, nullptr);
  // The spy went in front of the log's watch, which therefore stays in the chain, passing messages on.
  Module1::AttachLog(other);
  Module1::AppendLogLine(other, "b");
  SendMessageA(log_, WM_CHAR, 'x', 0);
  EXPECT_EQ(keys_, 1) << "the key skipped what was behind the log's watch";
  Module1::AttachLog(log_);
  Module1::AppendLogLine(log_, "c");
  EXPECT_EQ(WindowText(log_), "a\r\nxc\r\n");
  EXPECT_EQ(WindowText(other), "b\r\n");
  // A subclass from before the watch leaves without looking, as the targets' hooks do, and cuts it out.
  SetWindowLongA(log_, GWL_WNDPROC, static_cast<LONG>(GetClassLongPtrA(log_, GCLP_WNDPROC)));
  Module1::AttachLog(other);
  Module1::AttachLog(log_);
  Module1::AppendLogLine(log_, "d");
  EXPECT_EQ(WindowText(log_), "a\r\nxc\r\nd\r\n") << "the box was read before the line went in";
}

}  // namespace
