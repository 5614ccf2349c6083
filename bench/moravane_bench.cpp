// Measures what the hook and the log cost against the least the platform allows, each figure a ratio or a count
// from this one run.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "main_window/form1.h"
#include "main_window/message_pump.h"
#include "paint_trace/line_records.h"
#include "paint_trace/module1.h"
#include "paint_trace/trace_lines.h"

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

constexpr char HostClassName[] = "Moravane.BenchHost";
constexpr auto BurstPatience = 120s;  // a burst that takes longer has failed
constexpr int SmallLog = 1000, LargeLog = 50000, KeepLog = -1;

double SecondsFor(const std::function<void()>& work) {
  const auto start = Clock::now();
  work();
  return std::chrono::duration<double>(Clock::now() - start).count();
}

// Interference on a shared machine only ever adds time: the fastest round is the figure.
double Fastest(const std::vector<double>& seconds) { return *std::min_element(seconds.begin(), seconds.end()); }

std::string Rounds(int rounds, int each, const std::string& what) {
  return std::to_string(rounds) + " rounds x " + std::to_string(each) + " " + what;
}

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

// What the platform's own box costs for one line: put at the end with one replace, then painted.
void AppendBare(HWND box, const std::string& text) {
  const int end = GetWindowTextLengthW(box);
  SendMessageA(box, EM_SETSEL, static_cast<WPARAM>(end), static_cast<LPARAM>(end));
  SendMessageA(box, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(text.c_str()));
  UpdateWindow(box);
}

// The reader follows at the end, as the bare box does: a log scrolled elsewhere keeps its view, which costs more.
void FillLog(HWND box, int lines) {
  SetWindowTextA(box, TraceLines(1, lines).c_str());
  const int end = GetWindowTextLengthW(box);
  SendMessageA(box, EM_SETSEL, static_cast<WPARAM>(end), static_cast<LPARAM>(end));
  SendMessageA(box, EM_SCROLLCARET, 0, 0);
  PumpFor(50ms);
}

bool WaitsFailed = false;

// A wait that timed out makes every figure after it doubtful: it is said, and the run ends non-zero.
void Waited(bool done, const char* what) {
  if (done) return;
  std::fprintf(stderr, "moravane_bench: %s did not happen within %d s\n", what,
               static_cast<int>(BurstPatience.count()));
  WaitsFailed = true;
}

bool QueueIsEmpty() {
  MSG message;
  return !PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE);
}

struct Figure {
  std::string Name;
  std::string Subject;
  double SubjectValue;
  std::string Baseline;  // empty for a count
  double BaselineValue;
  std::string Unit;
  double Value;  // the ratio, or the count
  std::string Repetitions;
};

// The subject's and the baseline's times, taken in alternating rounds so that drift touches both alike.
struct Alternation {
  std::vector<double> Subject, Baseline;
  void Add(double subject, double baseline) {
    Subject.push_back(subject);
    Baseline.push_back(baseline);
  }
};

Figure Ratio(std::string name, std::string subject, std::string baseline, const char* unit, const Alternation& times,
             double perUnit, std::string repetitions) {
  const double s = Fastest(times.Subject), b = Fastest(times.Baseline);
  return {std::move(name), std::move(subject),    s * perUnit, std::move(baseline), b * perUnit, unit,
          s / b,           std::move(repetitions)};
}

Figure Count(std::string name, std::string subject, const char* unit, double value, std::string repetitions) {
  return {std::move(name), std::move(subject), value, "", 0, unit, value, std::move(repetitions)};
}

// ---- The hook, against a bare forwarding subclass: the least any subclass costs on this platform.

LONG ForwardedProc = 0;

LRESULT CALLBACK ForwardOnly(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  return CallWindowProcA(reinterpret_cast<WNDPROC>(ForwardedProc), hwnd, message, wParam, lParam);
}

constexpr int HookRounds = 21;
constexpr int UntracedPerRound = 20000;
constexpr int ErasePerRound = 2000;

double SendUntraced(HWND button) {
  return SecondsFor([&] {
    for (int i = 0; i < UntracedPerRound; ++i) SendMessageA(button, WM_GETTEXTLENGTH, 0, 0);
  });
}

double SendErase(HWND button) {
  const HDC dc = GetDC(button);
  const double seconds = SecondsFor([&] {
    for (int i = 0; i < ErasePerRound; ++i) SendMessageA(button, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
  });
  ReleaseDC(button, dc);
  return seconds;
}

void HookFigures(std::vector<Figure>& figures) {
  const HWND hookedHost = CreateHost(0, 0), plainHost = CreateHost(650, 0);
  const HWND hooked = CreateButton(hookedHost), plain = CreateButton(plainHost), forwarding = CreateButton(plainHost);
  Module1::HookedCommand1 = hooked;
  Module1::PrevProcCommand1 = SetWindowLongA(hooked, GWL_WNDPROC, reinterpret_cast<LONG>(&Module1::TraceWndProc));
  ForwardedProc = SetWindowLongA(forwarding, GWL_WNDPROC, reinterpret_cast<LONG>(&ForwardOnly));
  Module1::LogBox = nullptr;
  PumpFor(100ms);
  Alternation untraced, floor, detached;
  for (int round = 0; round < HookRounds; ++round) {
    const double plainTime = SendUntraced(plain), forwardTime = SendUntraced(forwarding);
    untraced.Add(SendUntraced(hooked), forwardTime);
    floor.Add(forwardTime, plainTime);
    detached.Add(SendErase(hooked), SendErase(forwarding));
  }
  SetWindowLongA(hooked, GWL_WNDPROC, Module1::PrevProcCommand1);
  DestroyWindow(hookedHost);
  DestroyWindow(plainHost);
  const std::string rounds = Rounds(HookRounds, UntracedPerRound, "messages");
  figures.push_back(Ratio("hook_untraced_vs_floor", "WM_GETTEXTLENGTH, hooked button",
                          "same, button with a bare forwarder", "us/message", untraced, 1e6 / UntracedPerRound,
                          rounds));
  figures.push_back(Ratio("hook_detached_vs_floor", "WM_ERASEBKGND, hooked, no log", "same, bare forwarder",
                          "us/message", detached, 1e6 / ErasePerRound, Rounds(HookRounds, ErasePerRound, "messages")));
  figures.push_back(Ratio("subclass_floor_ratio", "WM_GETTEXTLENGTH, bare forwarder", "same, unhooked button",
                          "us/message", floor, 1e6 / UntracedPerRound, rounds));
}

// ---- The log box alone: the program's append against the platform's bare box, at two sizes.

constexpr int GrowthRounds = 7;
constexpr int AppendsPerRound = 20;

// The program's lines go to the log it has attached.
void AttachLog(HWND box) {
  if (Module1::LogBox != box) Module1::AttachLog(box);
}

// Each line on its own and painted, as when paint messages come one at a time: the append path's worst case.
double AppendOneByOne(HWND box, std::int32_t& number, bool program) {
  if (program) AttachLog(box);
  return SecondsFor([&] {
    for (int i = 0; i < AppendsPerRound; ++i) {
      const std::string line = Module1::FormatSendLine(number++, "WM_PAINT");
      if (program) {
        Module1::AppendLogLine(box, line);
        Module1::FlushLog();
      } else {
        AppendBare(box, line + "\r\n");
      }
    }
  });
}

// The lines one request traces, put in by the program, against the same text put into a bare box.
constexpr int RequestLines = 6;

double RequestIntoLog(HWND box, std::int32_t& number, bool program) {
  if (program) AttachLog(box);
  const std::string text = TraceLines(number, RequestLines);
  return SecondsFor([&] {
    if (program) {
      for (int i = 0; i < RequestLines; ++i)
        Module1::AppendLogLine(box, Module1::FormatSendLine(number + i, "WM_PAINT"));
      Module1::FlushLog();
    } else {
      AppendBare(box, text);
    }
    number += RequestLines;
  });
}

// What one line, put in with one replace and painted, costs the bare box at each size: the least a line can wait.
struct BareLineMs {
  double Small = 0, Large = 0;
};

BareLineMs LogBoxFigures(std::vector<Figure>& figures, HWND log) {
  const HWND hosts[] = {CreateHost(0, 450), CreateHost(650, 450), CreateHost(0, 0), CreateHost(650, 0)};
  const HWND programSmall = CreateLogLike(hosts[0], log), programLarge = CreateLogLike(hosts[1], log);
  const HWND bareSmall = CreateLogLike(hosts[2], log), bareLarge = CreateLogLike(hosts[3], log);
  for (const HWND box : {programSmall, bareSmall}) FillLog(box, SmallLog);
  for (const HWND box : {programLarge, bareLarge}) FillLog(box, LargeLog);
  Alternation programGrowth, bareGrowth, vsFloor;
  std::int32_t number = 60000;
  for (int round = 0; round < GrowthRounds; ++round) {
    programGrowth.Add(AppendOneByOne(programLarge, number, true), AppendOneByOne(programSmall, number, true));
    bareGrowth.Add(AppendOneByOne(bareLarge, number, false), AppendOneByOne(bareSmall, number, false));
    double program = 0, bare = 0;
    for (int request = 0; request < AppendsPerRound; ++request) {
      program += RequestIntoLog(programLarge, number, true);
      bare += RequestIntoLog(bareLarge, number, false);
    }
    vsFloor.Add(program, bare);
  }
  AttachLog(log);
  for (const HWND host : hosts) DestroyWindow(host);
  const std::string rounds = Rounds(GrowthRounds, AppendsPerRound, "lines");
  figures.push_back(Ratio("program_vs_floor_ratio", "one request's 6 lines into a 50,000-line log",
                          "same into a bare box of the log's kind", "ms/request", vsFloor, 1e3 / AppendsPerRound,
                          Rounds(GrowthRounds, AppendsPerRound, "requests")));
  figures.push_back(Ratio("append_growth_ratio", "a line appended and painted, 50,000-line log", "same, 1,000 lines",
                          "ms/line", programGrowth, 1e3 / AppendsPerRound, rounds));
  figures.push_back(Ratio("bare_growth_ratio", "same, bare box, 50,000 lines", "same, bare box, 1,000 lines", "ms/line",
                          bareGrowth, 1e3 / AppendsPerRound, rounds));
  return {Fastest(bareGrowth.Baseline) * 1e3 / AppendsPerRound, Fastest(bareGrowth.Subject) * 1e3 / AppendsPerRound};
}

// ---- The real form: replaces per request and per burst of keys, bursts at two sizes, floods.

// What reaches the form's log, seen from in front of everything else: replaces, and when its lines were shown.
struct LogWatch {
  LONG Real = 0;
  int Replaces = 0;
  std::int32_t Replaced = 0;                // the newest line number put into the box
  std::int32_t Shown = 0;                   // the newest line number painted
  std::vector<Clock::time_point> TracedAt;  // by line number, from First
  std::int32_t First = 0;
  double LongestWaitMs = 0;
  double BoxMs = 0;  // spent in the box's replaces and paints
} Watch;

std::int32_t LastNumberIn(const char* text) {
  const char* open = std::strrchr(text, '<');
  return open == nullptr ? 0 : static_cast<std::int32_t>(std::strtol(open + 1, nullptr, 10));
}

void LinesShown(Clock::time_point now) {
  for (std::int32_t number = std::max(Watch.Shown + 1, Watch.First); number <= Watch.Replaced; ++number) {
    const auto index = static_cast<std::size_t>(number - Watch.First);
    if (index >= Watch.TracedAt.size()) break;
    const double waited = std::chrono::duration<double, std::milli>(now - Watch.TracedAt[index]).count();
    Watch.LongestWaitMs = std::max(Watch.LongestWaitMs, waited);
  }
  Watch.Shown = std::max(Watch.Shown, Watch.Replaced);
}

LRESULT CALLBACK WatchLog(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == EM_REPLACESEL) {
    ++Watch.Replaces;
    Watch.Replaced = std::max(Watch.Replaced, LastNumberIn(reinterpret_cast<const char*>(lParam)));
  }
  const auto start = Clock::now();
  const LRESULT result = CallWindowProcA(reinterpret_cast<WNDPROC>(Watch.Real), hwnd, message, wParam, lParam);
  const auto end = Clock::now();
  if (message == EM_REPLACESEL || message == WM_PAINT)
    Watch.BoxMs += std::chrono::duration<double, std::milli>(end - start).count();
  if (message == WM_PAINT) LinesShown(end);
  return result;
}

// Under the hook on the button: when each numbered line was traced.
LONG ButtonProc = 0;

LRESULT CALLBACK TimeTracedLines(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  const bool traced = !Module1::TracedMessageName(message).empty() && Watch.First != 0;
  if (traced) Watch.TracedAt.resize(static_cast<std::size_t>(Module1::TraceCount - Watch.First + 1), Clock::now());
  const LRESULT result = CallWindowProcA(reinterpret_cast<WNDPROC>(ButtonProc), hwnd, message, wParam, lParam);
  if (traced) Watch.TracedAt.resize(static_cast<std::size_t>(Module1::TraceCount - Watch.First + 2), Clock::now());
  return result;
}

class FormBench {
 public:
  FormBench() : form_(GetModuleHandleA(nullptr)) {
    form_.Show(SW_SHOWNORMAL);
    attached_ = PumpUntil([] { return Module1::LogBox != nullptr; }, BurstPatience, &form_);
    SendMessageA(Button(Command2Id), BM_CLICK, 0, 0);  // the feed watches the log from the first line on
    Waited(PumpUntilQuiet(QuietFor, BurstPatience, &form_), "the end of the first request's painting");
    Watch = LogWatch{};
    Watch.Real = SetWindowLongA(Log(), GWL_WNDPROC, reinterpret_cast<LONG>(&WatchLog));
    ButtonProc = std::exchange(Module1::PrevProcCommand1, reinterpret_cast<LONG>(&TimeTracedLines));
  }
  ~FormBench() {
    Module1::PrevProcCommand1 = ButtonProc;
    SetWindowLongA(Log(), GWL_WNDPROC, Watch.Real);
  }
  FormBench(const FormBench&) = delete;
  FormBench& operator=(const FormBench&) = delete;

  bool Attached() const { return attached_; }
  const Form1& Form() const { return form_; }
  HWND Log() const { return form_.Control(Text1Id); }
  HWND Button(ControlId id) const { return form_.Control(id); }

  // Every traced line in the log and nothing left to handle; asks the log nothing, which would hurry the lines.
  bool Settle() const {
    return PumpUntil([] { return QueueIsEmpty() && Watch.Replaced == Module1::TraceCount; }, BurstPatience, &form_);
  }

  // Starts counting and timing afresh, with the log holding the given number of lines, or keeping what it holds.
  void Reset(int lines) {
    if (lines != KeepLog) FillLog(Log(), lines);
    Waited(PumpUntilQuiet(100ms, BurstPatience, &form_), "the log's settling after it was filled or its last burst");
    startCount_ = Module1::TraceCount;
    Watch.Replaces = 0;
    Watch.First = Module1::TraceCount + 1;
    Watch.Replaced = Watch.Shown = Module1::TraceCount;
    Watch.TracedAt.clear();
    Watch.LongestWaitMs = 0;
    Watch.BoxMs = 0;
  }

  std::int32_t LinesSinceReset() const { return Module1::TraceCount - startCount_; }

 private:
  Form1 form_;
  bool attached_ = false;
  std::int32_t startCount_ = 0;
};

constexpr int LoneRequests = 10;

Figure ReplacesPerRequest(FormBench& bench) {
  bench.Reset(SmallLog);
  int worst = 0;
  for (int request = 0; request < LoneRequests; ++request) {
    const int before = Watch.Replaces;
    PostMessageA(bench.Button(Command2Id), BM_CLICK, 0, 0);
    Waited(PumpUntilQuiet(QuietFor, BurstPatience, &bench.Form()), "the end of a request's painting");
    worst = std::max(worst, Watch.Replaces - before);
  }
  return Count("replaces_per_request", "replaces for one \"RedrawWindow\" click, 0x605", "replaces (most)", worst,
               std::to_string(LoneRequests) + " requests, one at a time");
}

constexpr int Keys = 100;

Figure KeyBurstReplaces(FormBench& bench) {
  bench.Reset(SmallLog);
  const HWND text2 = bench.Button(Text2Id);
  SetFocus(text2);
  Waited(PumpUntilQuiet(QuietFor, BurstPatience, &bench.Form()), "the painting's end after the focus moved");
  const int before = Watch.Replaces;
  for (int key = 0; key < Keys; ++key) PostMessageA(text2, WM_CHAR, 'a' + key % 26, 0);
  Waited(PumpUntilQuiet(QuietFor, BurstPatience, &bench.Form()), "the painting's end after the keys");
  return Count("key_burst_replaces", "replaces for 100 keys typed into \"   Has Border\"", "replaces",
               Watch.Replaces - before, std::to_string(Keys) + " keys posted at once");
}

constexpr int BurstRounds = 5;
constexpr int ClicksPerBurst = 100;

// Presses "RedrawWindow" the given number of times at once and runs the loop until every line is in the log.
double Burst(FormBench& bench, int clicks, int logLines, int& lines) {
  bench.Reset(logLines);
  const double seconds = SecondsFor([&] {
    for (int i = 0; i < clicks; ++i) PostMessageA(bench.Button(Command2Id), BM_CLICK, 0, 0);
    Waited(bench.Settle(), "the end of a burst of clicks");
  });
  lines = bench.LinesSinceReset();
  return seconds;
}

// How the fastest burst at one size spent its time: batches, and what the box took for each.
struct FastestBurst {
  double Seconds = 1e9;
  std::string Batches;
  double Add(double seconds) {
    if (seconds < Seconds) {
      Seconds = seconds;
      Batches = std::to_string(Watch.Replaces) + " batches of " +
                std::to_string(std::lround(Watch.BoxMs / std::max(1, Watch.Replaces))) + " ms in " +
                std::to_string(std::lround(seconds * 1e3)) + " ms";
    }
    return seconds;
  }
};

Figure BurstGrowth(FormBench& bench) {
  Alternation perLine;
  FastestBurst large, small;
  int lines = 0;
  // Under the emulator one fill of the large log takes about as long as all its bursts: it is filled once, and its
  // bursts follow each other, not alternating with the small log's, growing it by 0.8% each.
  for (int round = 0; round < BurstRounds; ++round)
    perLine.Subject.push_back(large.Add(Burst(bench, ClicksPerBurst, round == 0 ? LargeLog : KeepLog, lines)) / lines);
  for (int round = 0; round < BurstRounds; ++round)
    perLine.Baseline.push_back(small.Add(Burst(bench, ClicksPerBurst, SmallLog, lines)) / lines);
  const std::string detail = "clicks (" + std::to_string(lines) + " lines; fastest: 50000 lines " + large.Batches +
                             ", 1000 lines " + small.Batches + ")";
  return Ratio("burst_growth_ratio", "a burst of 100 clicks, 50,000-line log", "same, 1,000 lines", "ms/line", perLine,
               1e3, Rounds(BurstRounds, ClicksPerBurst, detail));
}

constexpr int FloodClicks = 1000;

// The floor beside each flood is what one line costs the bare box at that size: no line can be shown sooner.
Figure FloodVisible(FormBench& bench, const BareLineMs& floor) {
  int lines = 0;
  std::string detail;
  double worst = 0;
  for (const auto& [logLines, floorMs] : {std::pair{SmallLog, floor.Small}, std::pair{LargeLog, floor.Large}}) {
    const double seconds = Burst(bench, FloodClicks, logLines, lines);
    Waited(PumpUntilQuiet(100ms, BurstPatience, &bench.Form()), "the flood's end");
    worst = std::max(worst, Watch.LongestWaitMs);
    detail += std::to_string(logLines) + " lines: " + std::to_string(std::lround(Watch.LongestWaitMs)) + " ms (floor " +
              std::to_string(std::lround(floorMs)) + " ms), " + std::to_string(Watch.Replaces) + " replaces in " +
              std::to_string(std::lround(seconds * 1e3)) + " ms; ";
  }
  return Count("flood_visible_ms", "longest wait from a traced message to its line on screen", "ms", worst,
               std::to_string(FloodClicks) + " posted clicks, " + std::to_string(lines) + " lines (" + detail + ")");
}

constexpr int ThroughputRounds = 9;
// One line at a time costs the same for every line: the baseline's rate is timed on the first lines only.
constexpr int BaselineLines = 80;

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
    Waited(PumpUntil(&QueueIsEmpty, BurstPatience), "the baseline box's painting");
  });
}

Figure LogThroughput(FormBench& bench) {
  RECT formRect;
  GetWindowRect(bench.Form().Hwnd(), &formRect);
  const HWND host = CreateHost(formRect.right + 10, 0);
  const HWND box = CreateLogLike(host, bench.Log());
  const std::string text = TraceLines(1, BaselineLines);
  Alternation secondsPerLine;
  int lines = 0;
  for (int round = 0; round < ThroughputRounds; ++round) {
    const double program = Burst(bench, ClicksPerBurst, 0, lines);
    secondsPerLine.Add(BaselineBurst(box, text) / BaselineLines, program / lines);
  }
  DestroyWindow(host);
  // The figure is the program's rate over the baseline's: the baseline's time per line over the program's.
  return Ratio("log_throughput_ratio", "one EM_REPLACESEL per line", "the program's log in a burst", "ms/line",
               secondsPerLine, 1e3,
               Rounds(ThroughputRounds, ClicksPerBurst, "clicks (" + std::to_string(lines) + " lines)"));
}

void Print(const std::vector<Figure>& figures) {
  std::printf("%-24s %-52s %10s   %-40s %10s %-16s %8s   %s\n", "figure", "subject", "value", "baseline", "value",
              "unit", "figure", "repetitions");
  for (const Figure& f : figures) {
    const std::string baseline = f.Baseline.empty() ? "" : std::to_string(f.BaselineValue).substr(0, 10);
    std::printf("%-24s %-52s %10.3f   %-40s %10s %-16s %8.3f   %s\n", f.Name.c_str(), f.Subject.c_str(), f.SubjectValue,
                f.Baseline.c_str(), baseline.c_str(), f.Unit.c_str(), f.Value, f.Repetitions.c_str());
  }
  std::printf("\n");
  for (const Figure& f : figures) std::printf("%s %.3f\n", f.Name.c_str(), f.Value);
  std::fflush(stdout);
}

}  // namespace

int main() {
  std::vector<Figure> figures;
  // Each part's time, so that a run that takes too long says where it went.
  std::string partTimes;
  const auto timed = [&](const char* part, const std::function<void()>& work) {
    char seconds[16];
    std::snprintf(seconds, sizeof seconds, " %.1f s", SecondsFor(work));
    partTimes += std::string(partTimes.empty() ? "" : ", ") + part + seconds;
  };
  timed("hook", [&] { HookFigures(figures); });
  std::unique_ptr<FormBench> bench;
  timed("form", [&] { bench = std::make_unique<FormBench>(); });
  if (!bench->Attached()) {
    std::fprintf(stderr, "The form's log was not attached within %d s (time by part: %s)\n",
                 static_cast<int>(BurstPatience.count()), partTimes.c_str());
    return 1;
  }
  BareLineMs floor;
  timed("log box", [&] { floor = LogBoxFigures(figures, bench->Log()); });
  timed("requests", [&] { figures.push_back(ReplacesPerRequest(*bench)); });
  timed("keys", [&] { figures.push_back(KeyBurstReplaces(*bench)); });
  timed("bursts", [&] { figures.push_back(BurstGrowth(*bench)); });
  timed("floods", [&] { figures.push_back(FloodVisible(*bench, floor)); });
  figures.push_back(Count("flood_floor_ms", "one line replaced and painted, bare box, 50,000 lines", "ms", floor.Large,
                          "the fastest of the bare box's rounds above"));
  const std::size_t bytesBefore = Module1::RememberedBytes();
  const std::int32_t linesBefore = Module1::TraceCount;
  timed("throughput", [&] { figures.push_back(LogThroughput(*bench)); });
  const std::int32_t lines = Module1::TraceCount - linesBefore;
  figures.push_back(Count("line_record_bytes", "what each line traced in the throughput part keeps for its story",
                          "bytes/line",
                          static_cast<double>(Module1::RememberedBytes() - bytesBefore) / std::max(lines, 1),
                          std::to_string(lines) + " lines"));
  Print(figures);
  std::printf("time by part: %s\n", partTimes.c_str());
  return WaitsFailed ? 1 : 0;
}
