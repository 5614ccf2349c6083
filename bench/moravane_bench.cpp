// Measures what the hook and the log cost, each figure a ratio against a baseline timed in the same run.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "main_window/form1.h"
#include "paint_trace/module1.h"
#include "paint_trace/trace_lines.h"
#include "support/message_pump.h"

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

constexpr char HostClassName[] = "Moravane.BenchHost";

double SecondsFor(const std::function<void()>& work) {
  const auto start = Clock::now();
  work();
  return std::chrono::duration<double>(Clock::now() - start).count();
}

// Interference on a shared machine only ever adds time: the fastest round is the figure.
double Fastest(const std::vector<double>& seconds) { return *std::min_element(seconds.begin(), seconds.end()); }

constexpr auto Patience = 120s;  // a burst that takes longer has failed

HWND CreateHost(int x, int y) {
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = &DefWindowProcA;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = HostClassName;
  RegisterClassA(&windowClass);
  const HWND host = CreateWindowExA(0, HostClassName, "bench", WS_OVERLAPPEDWINDOW | WS_VISIBLE, x, y, 640, 420,
                                    nullptr, nullptr, windowClass.hInstance, nullptr);
  PumpFor(100ms);
  return host;
}

HWND CreateButton(HWND host) {
  return CreateWindowExA(0, "BUTTON", "No Border", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 10, 10, 120, 30, host,
                         nullptr, nullptr, nullptr);
}

LONG SubclassedProc = 0;

// The least any subclass does: hand the message on. What it costs is this platform's floor.
LRESULT CALLBACK ForwardOnly(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  return CallWindowProcA(reinterpret_cast<WNDPROC>(SubclassedProc), hwnd, message, wParam, lParam);
}

// An edit box made like the program's log: same class, styles, size and font.
HWND CreateLogLike(HWND host, HWND log) {
  RECT rect;
  GetWindowRect(log, &rect);
  const auto style = static_cast<DWORD>(GetWindowLongA(log, GWL_STYLE));
  const auto exStyle = static_cast<DWORD>(GetWindowLongA(log, GWL_EXSTYLE));
  const HWND box = CreateWindowExA(exStyle, "EDIT", "", style, 10, 10, rect.right - rect.left, rect.bottom - rect.top,
                                   host, nullptr, nullptr, nullptr);
  SendMessageA(box, WM_SETFONT, SendMessageA(log, WM_GETFONT, 0, 0), FALSE);
  SendMessageA(box, EM_SETLIMITTEXT, 0, 0);
  return box;
}

std::string TraceLines(std::int32_t first, int count) {
  std::string text;
  for (int i = 0; i < count; ++i) {
    const std::int32_t number = first + i;
    text +=
        (number % 2 ? Module1::FormatSendLine(number, "WM_PAINT") : Module1::FormatReturnLine(number, "WM_PAINT", 0)) +
        "\r\n";
  }
  return text;
}

struct Figure {
  const char* Name;
  const char* Subject;
  const char* Baseline;
  const char* Unit;
  double SubjectValue;
  double BaselineValue;
  double Ratio;
  std::string Repetitions;
};

// The subject's and the baseline's times, taken in alternating rounds so that drift touches both alike.
struct Alternation {
  std::vector<double> Subject, Baseline;
  void Add(double subject, double baseline) {
    Subject.push_back(subject);
    Baseline.push_back(baseline);
  }
  double Ratio() const { return Fastest(Subject) / Fastest(Baseline); }
};

// A figure of two timed sides: each side's fastest round per unit of work, and their ratio.
Figure TimedFigure(const char* name, const char* subject, const char* baseline, const char* unit,
                   const Alternation& times, double unitsPerSecond, std::string repetitions) {
  return {name,
          subject,
          baseline,
          unit,
          Fastest(times.Subject) * unitsPerSecond,
          Fastest(times.Baseline) * unitsPerSecond,
          times.Ratio(),
          std::move(repetitions)};
}

constexpr int HookRounds = 21;
constexpr int UntracedPerRound = 20000;
constexpr int ErasePerRound = 2000;

Figure SendUntraced(const char* name, const char* subject, HWND subclassed, HWND plain) {
  Alternation times;
  const auto send = [](HWND button) {
    return SecondsFor([&] {
      for (int i = 0; i < UntracedPerRound; ++i) SendMessageA(button, WM_GETTEXTLENGTH, 0, 0);
    });
  };
  for (int round = 0; round < HookRounds; ++round) times.Add(send(subclassed), send(plain));
  return TimedFigure(name, subject, "same, unhooked button", "us/message", times, 1e6 / UntracedPerRound,
                     std::to_string(HookRounds) + " rounds x " + std::to_string(UntracedPerRound));
}

Figure HookDetached(HWND hooked, HWND plain) {
  Alternation times;
  const auto send = [](HWND button) {
    const HDC dc = GetDC(button);
    const double seconds = SecondsFor([&] {
      for (int i = 0; i < ErasePerRound; ++i) SendMessageA(button, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    });
    ReleaseDC(button, dc);
    return seconds;
  };
  Module1::LogBox = nullptr;
  for (int round = 0; round < HookRounds; ++round) times.Add(send(hooked), send(plain));
  return TimedFigure("hook_detached_ratio", "WM_ERASEBKGND, hooked, no log", "same, unhooked button", "us/message",
                     times, 1e6 / ErasePerRound,
                     std::to_string(HookRounds) + " rounds x " + std::to_string(ErasePerRound));
}

constexpr int GrowthRounds = 7;
constexpr int AppendsPerRound = 20;

// Each line on its own and painted, as when paint messages come one at a time: the append path's worst case.
double AppendOneByOne(HWND box, std::int32_t& number) {
  return SecondsFor([&] {
    for (int i = 0; i < AppendsPerRound; ++i) {
      Module1::AppendLogLine(box, Module1::FormatSendLine(number++, "WM_PAINT"));
      Module1::FlushLog();
      PumpFor(0ms);  // the box's own repaint is part of the cost
    }
  });
}

Figure AppendGrowth(HWND log) {
  const HWND smallHost = CreateHost(0, 450), largeHost = CreateHost(650, 450);
  const HWND small = CreateLogLike(smallHost, log), large = CreateLogLike(largeHost, log);
  SetWindowTextA(small, TraceLines(1, 1000).c_str());
  SetWindowTextA(large, TraceLines(1, 50000).c_str());
  PumpFor(200ms);
  Alternation times;
  std::int32_t number = 60000;
  for (int round = 0; round < GrowthRounds; ++round) {
    const double largeTime = AppendOneByOne(large, number);
    PumpFor(20ms);
    const double smallTime = AppendOneByOne(small, number);
    PumpFor(20ms);
    times.Add(largeTime, smallTime);
  }
  DestroyWindow(smallHost);
  DestroyWindow(largeHost);
  return TimedFigure("append_growth_ratio", "append with 50,000 lines in the log", "same with 1,000 lines", "ms/line",
                     times, 1e3 / AppendsPerRound,
                     std::to_string(GrowthRounds) + " rounds x " + std::to_string(AppendsPerRound) + " lines each");
}

constexpr int ThroughputRounds = 15;
constexpr int ClicksPerBurst = 100;
// One line at a time costs the same for every line: the baseline's rate is timed on the first lines only.
constexpr int BaselineLines = 80;

std::int32_t LinesIn(HWND box) { return static_cast<std::int32_t>(SendMessageA(box, EM_GETLINECOUNT, 0, 0)) - 1; }

// Presses "RedrawWindow" ClicksPerBurst times in a row and runs the loop until every traced line is in the log.
double ProgramBurst(const Form1& form, int& lines) {
  const HWND log = form.Control(Text1Id);
  SendMessageA(form.Control(Command3Id), BM_CLICK, 0, 0);
  const std::int32_t first = Module1::TraceCount;
  const double seconds = SecondsFor([&] {
    for (int i = 0; i < ClicksPerBurst; ++i) PostMessageA(form.Control(Command2Id), BM_CLICK, 0, 0);
    PumpUntil(
        [&] {
          MSG message;
          return !PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE) && LinesIn(log) == Module1::TraceCount - first;
        },
        Patience, &form);
  });
  lines = Module1::TraceCount - first;
  return seconds;
}

// The same lines, each with its own EM_SETSEL and EM_REPLACESEL, into an identical visible box.
double BaselineBurst(HWND box, const std::string& text) {
  SetWindowTextA(box, "");
  PumpFor(20ms);
  return SecondsFor([&] {
    std::size_t start = 0;
    for (int line = 0; line < BaselineLines; ++line) {
      const std::size_t end = text.find("\r\n", start);
      const std::string next = text.substr(start, end + 2 - start);
      start = end + 2;
      const int length = GetWindowTextLengthA(box);
      SendMessageA(box, EM_SETSEL, static_cast<WPARAM>(length), static_cast<LPARAM>(length));
      SendMessageA(box, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(next.c_str()));
    }
    PumpUntil(
        [] {
          MSG message;
          return !PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE);
        },
        Patience);
  });
}

Figure LogThroughput(const Form1& form) {
  RECT formRect;
  GetWindowRect(form.Hwnd(), &formRect);
  const HWND host = CreateHost(formRect.right + 10, 0);
  const HWND box = CreateLogLike(host, form.Control(Text1Id));
  Alternation secondsPerLine;
  int lines = 0;
  for (int round = 0; round < ThroughputRounds; ++round) {
    const double program = ProgramBurst(form, lines);
    const double baseline = BaselineBurst(box, WindowText(form.Control(Text1Id)));
    secondsPerLine.Add(program / lines, baseline / BaselineLines);
  }
  DestroyWindow(host);
  return {"log_throughput_ratio",
          "lines/s into the program's log",
          "lines/s, one EM_REPLACESEL per line",
          "lines/s",
          1 / Fastest(secondsPerLine.Subject),
          1 / Fastest(secondsPerLine.Baseline),
          1 / secondsPerLine.Ratio(),
          std::to_string(ThroughputRounds) + " bursts x " + std::to_string(ClicksPerBurst) + " clicks (" +
              std::to_string(lines) + " lines; baseline " + std::to_string(BaselineLines) + ")"};
}

void Print(const std::vector<Figure>& figures) {
  std::printf("%-22s %-38s %12s   %-38s %12s %-10s %8s   %s\n", "figure", "subject", "value", "baseline", "value",
              "unit", "ratio", "repetitions");
  for (const Figure& f : figures) {
    std::printf("%-22s %-38s %12.3f   %-38s %12.3f %-10s %8.3f   %s\n", f.Name, f.Subject, f.SubjectValue, f.Baseline,
                f.BaselineValue, f.Unit, f.Ratio, f.Repetitions.c_str());
  }
  std::printf("\n");
  for (const Figure& f : figures) std::printf("%s %.3f\n", f.Name, f.Ratio);
  std::fflush(stdout);
}

}  // namespace

int main() {
  std::vector<Figure> figures;
  {
    const HWND hookedHost = CreateHost(0, 0), plainHost = CreateHost(650, 0);
    const HWND hooked = CreateButton(hookedHost), plain = CreateButton(plainHost);
    const HWND forwarding = CreateButton(plainHost);
    Module1::HookedCommand1 = hooked;
    Module1::PrevProcCommand1 = SetWindowLongA(hooked, GWL_WNDPROC, reinterpret_cast<LONG>(&Module1::TraceWndProc));
    SubclassedProc = SetWindowLongA(forwarding, GWL_WNDPROC, reinterpret_cast<LONG>(&ForwardOnly));
    PumpFor(100ms);
    figures.push_back(SendUntraced("hook_untraced_ratio", "WM_GETTEXTLENGTH, hooked button", hooked, plain));
    figures.push_back(HookDetached(hooked, plain));
    figures.push_back(SendUntraced("subclass_floor_ratio", "same, button with a bare forwarder", forwarding, plain));
    SetWindowLongA(hooked, GWL_WNDPROC, Module1::PrevProcCommand1);
    DestroyWindow(hookedHost);
    DestroyWindow(plainHost);
  }
  Form1 form(GetModuleHandleA(nullptr));
  form.Show(SW_SHOWNORMAL);
  PumpUntil([] { return Module1::LogBox != nullptr; }, Patience, &form);
  PumpFor(200ms);
  figures.push_back(AppendGrowth(form.Control(Text1Id)));
  figures.push_back(LogThroughput(form));
  Print(figures);
  return 0;
}
