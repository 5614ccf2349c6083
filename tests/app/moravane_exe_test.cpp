// Starts the built program as its own process and drives it from outside, as a user or a test driver would.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "main_window/icon_id.h"
#include "main_window/message_pump.h"
#include "paint_trace/trace_log.h"
#include "support/form_design.h"
#include "support/platform.h"

namespace {

using namespace std::chrono_literals;

// A program built beside this one.
std::string SiblingPath(const char* name) {
  char path[MAX_PATH];
  const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string program(path, length);
  return program.substr(0, program.find_last_of("\\/") + 1) + name;
}

std::string ProgramPath() { return SiblingPath("Moravane.exe"); }

// The program's window: found by its caption, among the windows of the process the test started.
HWND FindTopLevel(DWORD processId) {
  for (HWND hwnd = nullptr; (hwnd = FindWindowExA(nullptr, hwnd, nullptr, "Moravane")) != nullptr;) {
    DWORD owner = 0;
    GetWindowThreadProcessId(hwnd, &owner);
    if (owner == processId && IsWindowVisible(hwnd)) return hwnd;
  }
  return nullptr;
}

// Waits until the log's text has not changed for a while: the program has painted and written down everything.
[[nodiscard]] bool LogSettles(HWND log) {
  std::string seen = WindowText(log);
  auto since = std::chrono::steady_clock::now();
  return PumpUntil(
      [&] {
        std::string now = WindowText(log);
        if (now != seen) since = std::chrono::steady_clock::now();
        seen = std::move(now);
        return std::chrono::steady_clock::now() - since >= 300ms;
      },
      10s);
}

class MoravaneExe : public ::testing::Test {
 protected:
  void SetUp() override { StartProgram(); }

  void StartProgram() {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    std::string commandLine = "\"" + ProgramPath() + "\"";
    ASSERT_TRUE(
        CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process_))
        << ProgramPath();
    ASSERT_TRUE(PumpUntil([&] { return (form_ = FindTopLevel(process_.dwProcessId)) != nullptr; }, 30s));
  }

  // The log is attached some time after start-up; until then a request leaves no line. Presses "RedrawWindow"
  // until one does, and waits for its lines.
  [[nodiscard]] bool LogAttached(HWND log, HWND redraw) const {
    return PumpUntil(
               [&] {
                 SendMessageA(redraw, BM_CLICK, 0, 0);
                 return !WindowText(log).empty();
               },
               30s) &&
           LogSettles(log);
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
  const auto control = [&](const char* caption) { return FindByCaption(form_, caption); };
  const HWND log = control(""), redraw = control("RedrawWindow"), clear = control("Clear");
  for (const DesignedControl& designed : DesignedControls) ASSERT_NE(FindDesigned(form_, designed), nullptr);

  ASSERT_TRUE(LogAttached(log, redraw));
  SendMessageA(clear, BM_CLICK, 0, 0);
  EXPECT_EQ(WindowText(log), "");

  SendMessageA(control("InvalidateRect"), BM_CLICK, 0, 0);
  ASSERT_TRUE(LogSettles(log));
  const std::vector<std::string> lines = LogLines(WindowText(log));
  EXPECT_EQ(WithoutNumbers(lines), (std::vector<std::string>{"S WM_PAINT", "R WM_PAINT   lResult:  &H00000000"}));
  ASSERT_FALSE(lines.empty());
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

TEST_F(MoravaneExe, ValidatingTheTextBoxLeavesItsFrameToPaint) {
  if (!IsWine()) GTEST_SKIP() << "expects Wine's lines for RDW_VALIDATE after 0x0405, not established on Windows";
  const auto control = [&](const char* caption) { return FindByCaption(form_, caption); };
  const HWND log = control("");
  ASSERT_TRUE(LogAttached(log, control("RedrawWindow")));
  SendMessageA(control("Clear"), BM_CLICK, 0, 0);
  // "Border" aims the requests at the text box: validating it after RDW_INVALIDATE | RDW_ERASE | RDW_FRAME leaves
  // its frame to paint, which the borderless button does not have. Posted, so the loop paints after both requests.
  SendMessageA(control("Border"), BM_CLICK, 0, 0);
  for (const char* press :
       {"RDW_ERASENOW", "RedrawWindow", "RDW_INVALIDATE", "RDW_ERASE", "RDW_FRAME", "RDW_VALIDATE", "RedrawWindow"}) {
    PostMessageA(control(press), BM_CLICK, 0, 0);
  }
  ASSERT_TRUE(LogSettles(log));
  const std::vector<std::string> framed{"S WM_PAINT", "S WM_NCPAINT", "R WM_NCPAINT   lResult:  &H00000000",
                                        "R WM_PAINT   lResult:  &H00000000"};
  EXPECT_EQ(WithoutNumbers(LogLines(WindowText(log))), framed);
}

// Rests the cursor on a point of one of the program's windows, reads the tooltip that shows, and moves away.
std::string HoverFromOutside(HWND form, HWND window, POINT at) {
  POINT screen = at;
  ClientToScreen(window, &screen);
  SetCursorPos(screen.x, screen.y);
  PostMessageA(window, WM_MOUSEMOVE, 0, MAKELPARAM(at.x, at.y));
  HWND tooltip = nullptr;
  const bool shown = PumpUntil([&] { return (tooltip = ShownTooltipOf(form)) != nullptr; }, 10s);
  std::string text = shown ? WindowText(tooltip) : "";
  SetCursorPos(0, 0);
  PostMessageA(form, WM_MOUSEMOVE, 0, MAKELPARAM(1, 1));
  EXPECT_TRUE(PumpUntil([&] { return ShownTooltipOf(form) == nullptr; }, 10s)) << text;
  return text;
}

TEST_F(MoravaneExe, TellsADriverOutsideEachLinesStoryEachFlagAndEachButtonsCall) {
  const auto control = [&](const char* caption) { return FindByCaption(form_, caption); };
  const HWND log = control(""), redraw = control("RedrawWindow");
  QuickenTooltips(form_);
  ASSERT_TRUE(LogAttached(log, redraw));
  SendMessageA(control("Clear"), BM_CLICK, 0, 0);
  SendMessageA(redraw, BM_CLICK, 0, 0);
  ASSERT_TRUE(LogSettles(log));
  const std::vector<std::string> lines = LogLines(WindowText(log));

  const std::string call = R"(RedrawWindow(the "No Border" button, NULL, NULL, 0x0605 = RDW_INVALIDATE | RDW_ERASE | )"
                           R"(RDW_ERASENOW | RDW_FRAME))";
  const auto middleOf = [&](const char* caption) {
    RECT bounds;
    GetClientRect(control(caption), &bounds);
    return POINT{bounds.right / 2, bounds.bottom / 2};
  };
  EXPECT_EQ(HoverFromOutside(form_, redraw, middleOf("RedrawWindow")), call);
  EXPECT_EQ(HoverFromOutside(form_, control("InvalidateRect"), middleOf("InvalidateRect")),
            R"(InvalidateRect(the "No Border" button, NULL, FALSE))");
  SendMessageA(control("Erase"), BM_CLICK, 0, 0);
  EXPECT_EQ(HoverFromOutside(form_, control("InvalidateRect"), middleOf("InvalidateRect")),
            R"(InvalidateRect(the "No Border" button, NULL, TRUE))");
  const std::string flag = HoverFromOutside(form_, control("RDW_ERASENOW"), middleOf("RDW_ERASENOW"));
  EXPECT_NE(flag.find("Value: 0x0200."), std::string::npos) << flag;

  if (!IsWine()) GTEST_SKIP() << "reads each line's story by its place in Wine's lines for the start-up flags";
  ASSERT_EQ(lines.size(), 6u);
  // Each line names its message and target; the four before the first WM_PAINT came during the call, the others
  // from the program's own loop.
  for (std::size_t line = 0; line < lines.size(); ++line) {
    const std::string story = HoverFromOutside(form_, log, OnLine(log, static_cast<int>(line)));
    const std::string message = lines[line].substr(11, lines[line].find(' ', 11) - 11);
    const std::string when = line < 4 ? "during " + call : "message loop dispatched it";
    EXPECT_NE(story.find(message), std::string::npos) << lines[line] << ": " << story;
    EXPECT_NE(story.find(R"(the "No Border" button)"), std::string::npos) << lines[line] << ": " << story;
    EXPECT_NE(story.find(when), std::string::npos) << lines[line] << ": " << story;
  }
}

// Runs a process at another system DPI: the setting is read by each process as it starts.
class MoravaneAtDpi : public MoravaneExe, public ::testing::WithParamInterface<int> {
 protected:
  static constexpr char DesktopKey[] = "Control Panel\\Desktop";

  void SetUp() override {
    if (!IsWine()) GTEST_SKIP() << "sets the system DPI in the prefix's registry, which Windows reads only at sign-in";
    DWORD size = sizeof savedDpi_;
    hadDpi_ = RegGetValueA(HKEY_CURRENT_USER, DesktopKey, "LogPixels", RRF_RT_REG_DWORD, nullptr, &savedDpi_, &size) ==
              ERROR_SUCCESS;
    SetDpi(static_cast<DWORD>(GetParam()));
    SetProcessDPIAware();  // the program's windows in their own pixels, not scaled for this process
  }

  void TearDown() override {
    if (IsSkipped()) return;  // the system's DPI was left alone
    if (form_ != nullptr) PostMessageA(form_, WM_CLOSE, 0, 0);
    WaitForSingleObject(process_.hProcess, 30000);
    MoravaneExe::TearDown();
    if (hadDpi_) {
      SetDpi(savedDpi_);
    } else {
      RegDeleteKeyValueA(HKEY_CURRENT_USER, DesktopKey, "LogPixels");
    }
  }

  static void SetDpi(DWORD dpi) {
    RegSetKeyValueA(HKEY_CURRENT_USER, DesktopKey, "LogPixels", REG_DWORD, &dpi, sizeof dpi);
  }

  DWORD savedDpi_ = 96;
  bool hadDpi_ = false;
};

TEST_P(MoravaneAtDpi, PlacesEveryControlFromItsTwipsAtTheSystemDpi) {
  ASSERT_NO_FATAL_FAILURE(StartProgram());
  ExpectLaidOutAsDesigned(form_, GetParam());
}

// The form measures its own captions in a process that starts at this DPI, with this prefix's fonts.
TEST_P(MoravaneAtDpi, FitsEveryCaptionWithAirAtTheSystemDpi) {
  std::string command = '"' + SiblingPath("main_window_tests.exe") + "\" --gtest_filter=Form1Look*";
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION child{};
  ASSERT_TRUE(CreateProcessA(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &child));
  EXPECT_EQ(WaitForSingleObject(child.hProcess, 60000), WAIT_OBJECT_0) << "the measuring process did not end";
  DWORD exitCode = 1;
  GetExitCodeProcess(child.hProcess, &exitCode);
  CloseHandle(child.hThread);
  CloseHandle(child.hProcess);
  EXPECT_EQ(exitCode, 0u) << "the form does not look right at " << GetParam() << " DPI; the measurements are above";
}

INSTANTIATE_TEST_SUITE_P(SystemDpi, MoravaneAtDpi, ::testing::Values(96, 120, 144),
                         [](const auto& info) { return std::to_string(info.param); });

std::string VersionString(const std::vector<char>& info, const char* name) {
  char* value = nullptr;
  UINT length = 0;
  const std::string path = std::string("\\StringFileInfo\\040904B0\\") + name;
  if (!VerQueryValueA(info.data(), path.c_str(), reinterpret_cast<void**>(&value), &length)) return "";
  return std::string(value, length > 0 ? length - 1 : 0);
}

TEST(MoravaneExeFile, CarriesItsIconVersionAndManifest) {
  const std::string program = ProgramPath();
  std::vector<char> info(GetFileVersionInfoSizeA(program.c_str(), nullptr));
  ASSERT_FALSE(info.empty());
  ASSERT_TRUE(GetFileVersionInfoA(program.c_str(), 0, static_cast<DWORD>(info.size()), info.data()));
  EXPECT_EQ(VersionString(info, "ProductName"), "Moravane");
  // git's description of the checkout, looked up by CTest apart from the build: a tag gives the version; without
  // one, the version ends with the commit.
  const char* given = std::getenv("MORAVANE_DESCRIBED");
  const std::string described = given != nullptr ? given : "", product = VersionString(info, "ProductVersion");
  ASSERT_FALSE(described.empty()) << "CTest gives git's description of the checkout in MORAVANE_DESCRIBED";
  if (described.front() == 'v') {
    EXPECT_EQ(product, described.substr(1));
  } else {
    EXPECT_EQ(product.substr(product.find("-g") + 2), described) << product;
  }
  // Explorer shows the numbers, and FileVersion says the same.
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueA(info.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
  const std::string release = std::to_string(HIWORD(fixed->dwFileVersionMS)) + "." +
                              std::to_string(LOWORD(fixed->dwFileVersionMS)) + "." +
                              std::to_string(HIWORD(fixed->dwFileVersionLS));
  EXPECT_EQ(VersionString(info, "FileVersion"), release + "." + std::to_string(LOWORD(fixed->dwFileVersionLS)));
  EXPECT_EQ(product.rfind(release, 0), 0u) << product;
  EXPECT_NE(VersionString(info, "FileDescription"), "");

  const HMODULE image = LoadLibraryExA(program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_NE(image, nullptr);
  EXPECT_NE(FindResourceA(image, MAKEINTRESOURCEA(MORAVANE_ICON), RT_GROUP_ICON), nullptr);
  const HRSRC manifest = FindResourceA(image, MAKEINTRESOURCEA(1), RT_MANIFEST);
  ASSERT_NE(manifest, nullptr);
  const std::string text(static_cast<const char*>(LockResource(LoadResource(image, manifest))),
                         SizeofResource(image, manifest));
  EXPECT_NE(text.find("<dpiAware xmlns=\"http://schemas.microsoft.com/SMI/2005/WindowsSettings\">true"),
            std::string::npos);
  for (const char* windows : {"35138b9a-5d96-4fbd-8e2d-a2440225f93a", "8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a"}) {
    EXPECT_NE(text.find(windows), std::string::npos) << windows;
  }
  EXPECT_EQ(text.find("Microsoft.Windows.Common-Controls"), std::string::npos);
  FreeLibrary(image);
}

}  // namespace
