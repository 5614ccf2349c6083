// Storms of random user actions through the real form: afterwards every line must be there, numbered
// without a gap across every "Clear", each R closing its S, and as many lines as the counter advanced.
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <random>

#include "main_window/form1.h"
#include "main_window/message_pump.h"
#include "paint_trace/module1.h"
#include "paint_trace/trace_log.h"
#include "support/form_test.h"
#include "support/log_checker.h"
#include "support/paint_witness.h"
#include "support/spy.h"

namespace {

using namespace std::chrono_literals;

constexpr int StormActions = 2000;

class TraceIntegrity : public FormTest {
 protected:
  void SetUp() override {
    StartTracing();
    attachedAt_ = Module1::TraceCount;
    witness_ = std::make_unique<PaintWitness>();
    // Everything the log held: what each "Clear" took away, and the user's edits since the last one.
    history_ = std::make_unique<Spy>(Control(Text1Id), Spy::Watching([this](HWND hwnd, UINT message, WPARAM, LPARAM) {
                                       if (message == WM_SETTEXT) {
                                         cleared_ += WithoutEdits(WindowText(hwnd), edits_);
                                         edits_.clear();
                                         ++clears_;
                                       }
                                       if (message == WM_CHAR) {
                                         DWORD start = 0, end = 0;
                                         SendMessageA(hwnd, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                                                      reinterpret_cast<LPARAM>(&end));
                                         edits_.push_back({start, WindowText(hwnd).substr(start, end - start)});
                                         ++keysInAll_;
                                       }
                                     }));
  }

  // Clicks, requests, options and typing, at random; the loop runs a little after each.
  void Storm(bool userEditsTheLog) {
    std::mt19937 random(userEditsTheLog ? 2 : 1);
    const HWND log = Control(Text1Id);
    for (int action = 0; action < StormActions; ++action) {
      const int pick = std::uniform_int_distribution<int>(0, userEditsTheLog ? 23 : 19)(random);
      if (pick < 12) Click(form_->FlagBoxControl(pick));
      if (pick == 12 || pick == 13) Click(Control(Command2Id));
      if (pick == 14) Click(Control(Command4Id));
      if (pick == 15) Click(Control(Check2Id));
      if (pick == 16) Click(Control(random() % 2 ? Option1Id : Option2Id));
      if (pick == 17 || pick == 18) PostMessageA(Control(Text2Id), WM_CHAR, 'a' + random() % 26, 0);
      if (pick == 19 && random() % 4 == 0) Click(Control(Command3Id));
      if (pick == 20 || pick == 21) PostMessageA(log, WM_CHAR, 'a' + random() % 26, 0);
      if (pick == 22) {
        const auto length = static_cast<unsigned>(GetWindowTextLengthA(log) + 1);
        const unsigned from = random() % length, to = random() % length;
        SendMessageA(log, EM_SETSEL, from, static_cast<LPARAM>(to));  // a drag with the mouse
      }
      if (pick == 23) PostMessageA(log, WM_KEYDOWN, random() % 2 ? VK_LEFT : VK_UP, 0);
      PumpFor(0ms, form_.get());
    }
    ASSERT_TRUE(Settled());
  }

  void ExpectEveryLineOnce() {
    const std::string all = cleared_ + WithoutEdits(WindowText(Control(Text1Id)), edits_);
    const std::vector<std::string> problems = LogProblems(all, attachedAt_ + 1);
    EXPECT_TRUE(problems.empty()) << problems.size() << " problems, the first: " << problems.front();
    EXPECT_EQ(LogLines(all).size(), static_cast<std::size_t>(Module1::TraceCount - attachedAt_));
    EXPECT_TRUE(WithoutNumbers(LogLines(all)) == witness_->Events()) << "the log disagrees with the witness";
    EXPECT_GT(Module1::TraceCount - attachedAt_, StormActions / 2) << "the storm traced little";
    std::printf("%d actions: %d lines, %d clears, %d keys typed into the log, %zu problems\n", StormActions,
                Module1::TraceCount - attachedAt_, clears_, keysInAll_, problems.size());
  }

  std::unique_ptr<PaintWitness> witness_;
  std::unique_ptr<Spy> history_;
  std::int32_t attachedAt_ = 0;
  std::string cleared_;
  std::vector<LogEdit> edits_;
  int clears_ = 0, keysInAll_ = 0;
};

TEST_F(TraceIntegrity, ARandomStormLosesNoLineAcrossClears) {
  Storm(false);
  ExpectEveryLineOnce();
}

TEST_F(TraceIntegrity, ARandomStormLosesNoLineWhileTheUserTypesIntoTheLogAndMovesItsSelection) {
  Storm(true);
  // About one action in twelve is a key for the log; the storm proves nothing if they did not arrive.
  EXPECT_GE(keysInAll_, StormActions / 24) << "keys typed into the log";
  ExpectEveryLineOnce();
}

TEST_F(TraceIntegrity, ADestroyedLogLeavesTheTargetsPaintingAndTheCounterCounting) {
  DestroyWindow(Control(Text1Id));
  for (const ControlId request : {Command2Id, Command4Id}) {
    const std::int32_t before = Module1::TraceCount;
    Click(Control(request));
    ASSERT_TRUE(Settled());
    EXPECT_GT(Module1::TraceCount, before);
  }
  EXPECT_NE(form_->Hwnd(), nullptr);
}

}  // namespace
