// The hook window procedure installed on the two target windows, and the state it shares with the form.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string_view>

namespace Module1 {

// The saved procedures are kept as the 32-bit values SetWindowLongA hands back.
static_assert(sizeof(LONG) == sizeof(WNDPROC), "the hook is built for 32-bit Windows only");

extern LONG PrevProcCommand1;    // 0 until the hook is installed on Command1
extern HWND HookedCommand1;      // the window PrevProcCommand1 belongs to; any other hooked window is Text2
extern LONG PrevProcText2;       // 0 until the hook is installed on Text2
extern std::int32_t TraceCount;  // last sequence number used; never reset
extern HWND LogBox;              // where trace lines go; null until the form attaches its log

LRESULT CALLBACK TraceWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) noexcept;

// Makes box the log: LogBox names it, and its lines are collected and reach it together, painted,
// CollectLinesMs after the oldest of them, or sooner so that they are on screen no later than MaxLineDelayMs after
// it at the pace the box last showed; never one at a time, however slow the box, and never between two lines
// traced while one message is handled; and before any message that reaches the box: whatever reads, changes or
// shows its text finds what appending one line at a time would give. A log attached before is let go of first.
void AttachLog(HWND box) noexcept;

// Appends line and CR LF at the very end of box; does nothing while box is null or already destroyed. A box
// other than the attached log takes each line at once.
void AppendLogLine(HWND box, std::string_view line);

// A request's call returned: the log's last line shows so in its margin at once, unless lines are still on their
// way, which show it as they go in. Drawn, not painted: a paint of the box would cost far more than the mark.
void MarkCallReturned() noexcept;

// Puts every collected line into the log now and paints them.
void FlushLog() noexcept;

// Puts the lines still collected into the log, if its box still exists, and lets go of it and of everything
// that watched for lines to put in; the form calls it as it unloads. The box going does the same, without the
// lines.
void ReleaseLog() noexcept;

inline constexpr DWORD CollectLinesMs = 20;
inline constexpr DWORD MaxLineDelayMs = 35;

}  // namespace Module1
