// The recorder's rows made through the real form while what a user or the system does gets in the way: input from
// another thread, a paint after a row has ended, a click the form loses.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "main_window/message_pump.h"
#include "paint_order/comparison.h"
#include "paint_order/form_session.h"
#include "support/spy.h"

namespace {

POINT Middle(HWND window) {
  RECT rect;
  GetWindowRect(window, &rect);
  return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

// A click at a point of the screen, then Space and a letter to whatever has the focus, as a user's hand would.
void Interrupt(POINT at) {
  const auto mouse = [at](DWORD flags) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = MulDiv(at.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
    input.mi.dy = MulDiv(at.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
    input.mi.dwFlags = flags | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE;
    return input;
  };
  const auto key = [](WORD code, DWORD flags) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = code;
    input.ki.dwFlags = flags;
    return input;
  };
  INPUT inputs[] = {mouse(MOUSEEVENTF_LEFTDOWN),
                    mouse(MOUSEEVENTF_LEFTUP),
                    key(VK_SPACE, 0),
                    key(VK_SPACE, KEYEVENTF_KEYUP),
                    key('A', 0),
                    key('A', KEYEVENTF_KEYUP)};
  SendInput(static_cast<UINT>(std::size(inputs)), inputs, sizeof(INPUT));
}

class FormSessionRecording : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(session.StartTracing()); }
  FormSession session;
  std::string failure;
};

TEST_F(FormSessionRecording, InputWhileRowsAreMadeLeavesThemAsUndisturbedOrStopsNamingWhatDisturbed) {
  ASSERT_TRUE(session.TakeForeground()) << "input goes to the window in front";
  // Into the text box, where keys type, and onto a flag box, where Space toggles it, by turns.
  std::vector<POINT> targets;
  for (const FlagBox& box : Check1Boxes) {
    targets.push_back(Middle(session.Control(Text2Id)));
    targets.push_back(Middle(session.Form().FlagBoxControl(box.Index)));
  }
  const std::string typed = WindowText(session.Control(Text2Id));
  std::atomic<bool> done{false};
  std::thread hand([&] {
    for (std::size_t burst = 0; !done; ++burst) {
      Sleep(60);
      Interrupt(targets[burst % targets.size()]);
    }
  });
  constexpr std::size_t Rows = 16;
  std::vector<Trace> traces;
  const bool recorded = session.RecordRows(Rows, traces, failure);
  for (std::size_t row = 0; row < traces.size(); ++row) {
    const PaintOrderCase& c = PaintOrderCases()[row / 2];
    const Target target = row % 2 == 0 ? Target::Button : Target::TextBox;
    EXPECT_TRUE(Matches(RowsOf(traces[row]), ExpectedRows(c, target), false))
        << "row " << row + 1 << " differs silently:\n"
        << Describe(RowsOf(traces[row]));
    EXPECT_EQ(traces[row].Note, "") << "row " << row + 1;
  }
  done = true;
  hand.join();
  ASSERT_NE(WindowText(session.Control(Text2Id)), typed) << "the input never reached the form";
  if (!recorded) {
    EXPECT_NE(failure.find("disturbed"), std::string::npos) << "row " << traces.size() + 1 << ": " << failure;
  }
}

// Rows 1 and 2 are RedrawWindow 0x0001 on the button and on the text box; row 3 is 0x0002 on the button.
TEST_F(FormSessionRecording, APaintAfterARowHasEndedIsKeptInItAsLateNeverWiped) {
  std::vector<Trace> traces;
  ASSERT_TRUE(session.RecordRows(1, traces, failure)) << failure;
  const Trace ended = traces.front();
  // What a slow system would deliver after the row had ended.
  RedrawWindow(session.Control(Command1Id), nullptr, nullptr, RDW_INVALIDATE);
  ASSERT_TRUE(session.RecordRows(2, traces, failure)) << failure;
  std::vector<std::string> later = ended.Later;
  later.insert(later.end(), {"S WM_PAINT", "R WM_PAINT   lResult:  &H00000000"});
  EXPECT_EQ(traces[0].Later, later);
  EXPECT_NE(traces[0].Note.find("late"), std::string::npos) << traces[0].Note;
  EXPECT_EQ(traces[1].Later, ended.Later) << "the next row has only its own lines";
}

// BM_CLICK "might fail" on a window that is not active: the row must not be recorded without the flag.
TEST_F(FormSessionRecording, ARequestMadeOtherwiseThanMeantIsNeverRecorded) {
  HWND internalPaint = nullptr;
  for (const FlagBox& box : Check1Boxes) {
    if (ParseTag(box.Tag) == RDW_INTERNALPAINT) internalPaint = session.Form().FlagBoxControl(box.Index);
  }
  const Spy losesClicks(internalPaint, [](const Spy& self, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return message == BM_CLICK ? 0 : self.Forward(hwnd, message, wParam, lParam);
  });
  std::vector<Trace> traces;
  EXPECT_FALSE(session.RecordRows(3, traces, failure));
  EXPECT_EQ(traces.size(), 2u) << "stopped at row 3";
  EXPECT_GT(session.TakesMade(), 4u + 2u) << "made again before giving up";
  EXPECT_NE(failure.find(FlagWord(RDW_INTERNALPAINT)), std::string::npos) << failure;
}

}  // namespace
