// Starts the built program as its own process and drives it from outside, as a user or a test driver would.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/message_pump.h"
#include "support/trace_log.h"

namespace {

using namespace std::chrono_literals;

std::string ProgramPath() {
  char path[MAX_PATH];
  const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string program(path, length);
  return program.substr(0, program.find_last_of("\\/") + 1) + "Moravane.exe";
}

struct FoundWindow {
  DWORD ProcessId;
  HWND Hwnd = nullptr;
};

BOOL CALLBACK MatchProgramWindow(HWND hwnd, LPARAM lParam) {
  auto* search = reinterpret_cast<FoundWindow*>(lParam);
  DWORD owner = 0;
  GetWindowThreadProcessId(hwnd, &owner);
  if (owner != search->ProcessId || WindowText(hwnd) != "Moravane" || !IsWindowVisible(hwnd)) return TRUE;
  search->Hwnd = hwnd;
  return FALSE;
}

// The program's window: found by its caption, among the windows of the process the test started.
HWND FindTopLevel(DWORD processId) {
  FoundWindow found{processId};
  EnumWindows(&MatchProgramWindow, reinterpret_cast<LPARAM>(&found));
  return found.Hwnd;
}

// GetWindowText only reads another process's windows' names; their text comes with WM_GETTEXT.
std::string TextOf(HWND hwnd) {
  std::string text(static_cast<std::size_t>(SendMessageA(hwnd, WM_GETTEXTLENGTH, 0, 0)) + 1, '\0');
  text.resize(static_cast<std::size_t>(
      SendMessageA(hwnd, WM_GETTEXT, static_cast<WPARAM>(text.size()), reinterpret_cast<LPARAM>(text.data()))));
  return text;
}

// A control found by its class, caption and parent, the way an outside driver finds it.
HWND FindControl(HWND parent, const char* className, const char* caption) {
  return FindWindowExA(parent, nullptr, className, caption);
}

class MoravaneExe : public ::testing::Test {
 protected:
  void SetUp() override {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    std::string commandLine = "\"" + ProgramPath() + "\"";
    ASSERT_TRUE(
        CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process_))
        << ProgramPath();
    ASSERT_TRUE(PumpUntil([&] { return (form_ = FindTopLevel(process_.dwProcessId)) != nullptr; }, 30s));
  }

  void TearDown() override {
    if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(process_.hProcess, 1);
    CloseHandle(process_.hThread);
    CloseHandle(process_.hProcess);
  }

  PROCESS_INFORMATION process_{};
  HWND form_ = nullptr;
};

TEST_F(MoravaneExe, IsDrivenFromOutsideAndExitsCleanlyWhenClosed) {
  const HWND frame = FindControl(form_, "Button", "Border/Borderless");
  ASSERT_NE(frame, nullptr);
  const HWND log = FindWindowExA(form_, nullptr, "Edit", nullptr);
  const HWND redraw = FindControl(form_, "Button", "RedrawWindow");
  const HWND invalidate = FindControl(form_, "Button", "InvalidateRect");
  const HWND clear = FindControl(form_, "Button", "Clear");
  const HWND border = FindControl(frame, "Button", "Border");
  ASSERT_NE(FindControl(frame, "Button", "No Border"), nullptr);
  ASSERT_NE(FindControl(frame, "Edit", "   Has Border"), nullptr);
  ASSERT_NE(FindControl(form_, "Button", "RDW_NOINTERNALPAINT"), nullptr);
  for (const HWND control : {log, redraw, invalidate, clear, border}) ASSERT_NE(control, nullptr);

  // The log is attached some time after start-up; until then a request leaves no line.
  ASSERT_TRUE(PumpUntil(
      [&] {
        SendMessageA(redraw, BM_CLICK, 0, 0);
        return !TextOf(log).empty();
      },
      30s));
  SendMessageA(clear, BM_CLICK, 0, 0);
  EXPECT_EQ(TextOf(log), "");

  SendMessageA(border, BM_CLICK, 0, 0);
  SendMessageA(invalidate, BM_CLICK, 0, 0);
  ASSERT_TRUE(PumpUntil([&] { return WithoutNumbers(LogLines(TextOf(log))).size() >= 2; }, 10s));
  const std::vector<std::string> lines = LogLines(TextOf(log));
  EXPECT_EQ(WithoutNumbers(lines).front(), "S WM_PAINT");
  EXPECT_GT(LineNumber(lines.front()), 1);
  EXPECT_TRUE(NumberedFrom(lines, LineNumber(lines.front())));

  // Closed in the middle of a burst of requests, with lines still on their way to the log.
  for (int press = 0; press < 30; ++press) PostMessageA(redraw, BM_CLICK, 0, 0);
  PostMessageA(form_, WM_CLOSE, 0, 0);
  for (int press = 0; press < 30; ++press) PostMessageA(redraw, BM_CLICK, 0, 0);
  ASSERT_EQ(WaitForSingleObject(process_.hProcess, 30000), WAIT_OBJECT_0);
  DWORD exitCode = 1;
  GetExitCodeProcess(process_.hProcess, &exitCode);
  EXPECT_EQ(exitCode, 0u);
}

}  // namespace
