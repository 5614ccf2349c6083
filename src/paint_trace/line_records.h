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

// What a target's update region held as a message arrived: for WM_NCPAINT, what its region argument named.
enum class Invalid : std::uint8_t { Nothing, Whole, Part };

// Kept for every line written to the attached log: 12 bytes, since a log may hold millions of lines.
struct LineRecord {
  std::uint32_t RequestNumber : 24;  // the request last made when the line was traced, counted from 1; 0 for none
  std::uint32_t During : 1;          // traced before that request's call returned
  std::uint32_t OnCommand1 : 1;
  std::uint32_t Returned : 1;  // an R line
  std::uint32_t Invalid : 2;   // an S line's Invalid
  std::uint32_t Message : 2;   // 0 WM_NCPAINT, 1 WM_ERASEBKGND, 2 WM_PAINT: MessageOf reads it
  std::uint16_t MsAfter;       // how long after the request's call returned, up to 65,535
  std::uint16_t Back;          // S line: how far back the S line it arrived inside is; R line: its own S; 0 if none
  std::uint8_t Left, Top, Right, Bottom;  // the update rectangle, when part was invalid, each up to 255
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
