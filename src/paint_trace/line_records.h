// What the log remembers of each traced line beyond its text: what the hook saw as the message came and went,
// so that the line can tell its story and the log's margin can mark it.
#pragma once

#include <windows.h>

#include <chrono>
#include <cstddef>
#include <cstdint>

namespace Module1 {

enum class RequestKind : std::uint8_t { RedrawWindow, InvalidateRect };

// A repaint request the form made: which call, on which target, with which flag word or erase argument.
struct Request {
  RequestKind Kind;
  bool OnCommand1;
  std::int32_t Argument;
  std::int32_t LastNumberDuring;  // TraceCount when the call returned
  std::chrono::steady_clock::time_point Returned;
};

// What was to be painted as a message arrived. WM_PAINT: the update region, as GetUpdateRect read it; FrameOnly when
// it found a region with none of it in the client area. WM_ERASEBKGND: the clip box of the DC it carries, what the
// erase can cover. WM_NCPAINT: its region argument, Whole for 1, WholeWindow or Part for a region's box against the
// window's rectangle. Nothing also for what could not be read.
enum class Invalid : std::uint8_t { Nothing, Whole, Part, FrameOnly, WholeWindow };

// Who handed a message to the target, as far as the program's own message loop can tell: the loop itself, or
// someone who sent it while the loop dispatched another message to the same window, to another window, or nothing.
enum class Sender : std::uint8_t { NoDispatch, Loop, SameWindowDispatch, OtherWindowDispatch };

// Kept for every line written to the attached log: 12 bytes, since a log may hold millions of lines.
struct LineRecord {
  std::uint32_t RequestNumber : 22;  // the request last made when the line was traced, counted from 1; 0 for none
  std::uint32_t During : 1;          // traced before that request's call returned
  std::uint32_t OnCommand1 : 1;
  std::uint32_t Returned : 1;  // an R line
  std::uint32_t Invalid : 3;   // an S line's Invalid
  std::uint32_t Message : 2;   // 0 WM_NCPAINT, 1 WM_ERASEBKGND, 2 WM_PAINT: MessageOf reads it
  std::uint32_t From : 2;      // the Sender; Loop too for a line inside a message the loop dispatched to its window
  std::uint16_t MsAfter;       // how long after the request's call returned, up to 65,535
  std::uint16_t Back;          // S line: how far back the S line it arrived inside is; R line: its own S; 0 if none
  std::uint8_t Left, Top, Right, Bottom;  // the Part rectangle, each up to 255
};
static_assert(sizeof(LineRecord) == 12, "a line's record is meant to stay small");

UINT MessageOf(const LineRecord& record) noexcept;

// The form brackets each request's call with one: lines traced meanwhile came during it.
class RequestScope {
 public:
  RequestScope(RequestKind kind, bool onCommand1, std::int32_t argument) noexcept;
  RequestScope(const RequestScope&) = delete;
  RequestScope& operator=(const RequestScope&) = delete;
  ~RequestScope();
};

// The program's message loop brackets each dispatch with one, so that a traced message tells who handed it over.
class LoopDispatch {
 public:
  explicit LoopDispatch(const MSG& message) noexcept;
  LoopDispatch(const LoopDispatch&) = delete;
  LoopDispatch& operator=(const LoopDispatch&) = delete;
  ~LoopDispatch();

 private:
  // The dispatch this one is inside, if any, put back as it ends.
  HWND outerWindow_;
  UINT outerMessage_;
  bool outerClaimed_;
};

// Called by the hook for every traced message, as it arrives and once it is handled; remembered only while the
// log is attached, as the lines themselves are.
void NoteSent(HWND hwnd, UINT message, WPARAM wParam, std::int32_t number) noexcept;
void NoteReturned(HWND hwnd, std::int32_t number) noexcept;

// Null when the line was never written or was forgotten.
const LineRecord* RecordOf(std::int32_t number) noexcept;
const Request* RequestOf(const LineRecord& record) noexcept;
// How many requests the form has made, the last one's number; 0 before the first.
std::uint32_t RequestsMade() noexcept;
// The request of that number, from 1, while it is remembered: "Clear" keeps only the last one; null otherwise.
const Request* RequestNumbered(std::uint32_t number) noexcept;
// The request whose call returned just after this line was traced, or null.
const Request* RequestReturnedAfter(std::int32_t number) noexcept;

// "Clear" forgets every line's record; the last request stays, since lines may still come after it.
void ForgetLines() noexcept;
// The memory the records and requests hold now.
std::size_t RememberedBytes() noexcept;

}  // namespace Module1
