#include "paint_trace/line_records.h"

#include <algorithm>
#include <array>
#include <memory>
#include <vector>

#include "paint_trace/module1.h"

namespace Module1 {

namespace {

using Clock = std::chrono::steady_clock;

constexpr std::array<UINT, 3> RecordedMessages{WM_NCPAINT, WM_ERASEBKGND, WM_PAINT};
constexpr std::uint32_t MostRequests = (1u << 22) - 1;

// The S lines whose messages are being handled, innermost last; deeper nesting is counted, not kept.
struct OpenLines {
  std::array<std::int32_t, 16> Numbers{};
  std::size_t Depth = 0;

  std::int32_t Innermost() const noexcept { return Depth == 0 || Depth > Numbers.size() ? 0 : Numbers[Depth - 1]; }
};

// Lines are kept in blocks, so that a long log never copies its records to grow, nor holds much spare room.
constexpr std::size_t BlockLines = 1024;
using Block = std::array<LineRecord, BlockLines>;

struct Records {
  std::vector<std::unique_ptr<Block>> Blocks;  // the lines from FirstNumber on, with no gap
  std::size_t LineCount = 0;
  std::int32_t FirstNumber = 0;
  std::vector<Request> Requests;  // from request FirstRequest on
  std::uint32_t FirstRequest = 1;
  bool InCall = false;
  OpenLines Open;
  // The message the program's loop is dispatching, null window for none, and whether the hook has met it yet.
  HWND DispatchWindow = nullptr;
  UINT DispatchMessage = 0;
  bool DispatchClaimed = false;
};

Records State;

std::uint32_t LastRequestNumber() noexcept {
  return State.Requests.empty() ? 0 : State.FirstRequest + static_cast<std::uint32_t>(State.Requests.size()) - 1;
}

std::uint16_t Distance(std::int32_t from, std::int32_t to) noexcept {
  const std::int64_t back = static_cast<std::int64_t>(from) - to;
  return to == 0 || back <= 0 || back > 0xFFFF ? 0 : static_cast<std::uint16_t>(back);
}

// A target's client area is far smaller than this; a larger one is told as at least 255.
std::uint8_t Coordinate(LONG value) noexcept { return static_cast<std::uint8_t>(std::clamp<LONG>(value, 0, 255)); }

void SetPart(LineRecord& record, const RECT& part) noexcept {
  record.Invalid = static_cast<std::uint32_t>(Invalid::Part);
  record.Left = Coordinate(part.left);
  record.Top = Coordinate(part.top);
  record.Right = Coordinate(part.right);
  record.Bottom = Coordinate(part.bottom);
}

void SetInvalid(LineRecord& record, Invalid invalid) noexcept { record.Invalid = static_cast<std::uint32_t>(invalid); }

// WM_NCPAINT's region is 1 or a region's handle, in screen coordinates; its box is kept from the window's corner.
void ReadFrameRegion(HWND hwnd, WPARAM wParam, LineRecord& record) noexcept {
  RECT box{}, window{};
  if (wParam == 1) return SetInvalid(record, Invalid::Whole);
  if (GetRgnBox(reinterpret_cast<HRGN>(wParam), &box) <= NULLREGION || !GetWindowRect(hwnd, &window)) return;
  if (box.left <= window.left && box.top <= window.top && box.right >= window.right && box.bottom >= window.bottom) {
    return SetInvalid(record, Invalid::WholeWindow);
  }
  OffsetRect(&box, -window.left, -window.top);
  SetPart(record, box);
}

// What the message had to paint as it came; see Invalid.
void ReadInvalid(HWND hwnd, UINT message, WPARAM wParam, LineRecord& record) noexcept {
  if (message == WM_NCPAINT) return ReadFrameRegion(hwnd, wParam, record);
  RECT area{}, client{};
  GetClientRect(hwnd, &client);
  if (message == WM_ERASEBKGND) {
    if (GetClipBox(reinterpret_cast<HDC>(wParam), &area) <= NULLREGION) return;
  } else if (!GetUpdateRect(hwnd, &area, FALSE)) {
    return;
  } else if (IsRectEmpty(&area)) {
    return SetInvalid(record, Invalid::FrameOnly);
  }
  if (EqualRect(&area, &client)) return SetInvalid(record, Invalid::Whole);
  SetPart(record, area);
}

// A message the loop is dispatching reaches the hook first; what comes inside it to the same window was handed over
// by the loop too.
Sender SenderOf(HWND hwnd, UINT message, const LineRecord* outer) noexcept {
  if (State.DispatchWindow == hwnd && State.DispatchMessage == message && !State.DispatchClaimed) {
    State.DispatchClaimed = true;
    return Sender::Loop;
  }
  if (outer != nullptr && static_cast<Sender>(outer->From) == Sender::Loop &&
      outer->OnCommand1 == static_cast<std::uint32_t>(hwnd == HookedCommand1)) {
    return Sender::Loop;
  }
  if (State.DispatchWindow == nullptr) return Sender::NoDispatch;
  return State.DispatchWindow == hwnd ? Sender::SameWindowDispatch : Sender::OtherWindowDispatch;
}

// Kept whole or not at all; a line that cannot be kept, or that does not follow the last one kept, starts the
// records anew from itself, so a number never finds another line's record.
void Keep(std::int32_t number, const LineRecord& record) noexcept {
  const bool follows = State.LineCount != 0 && State.FirstNumber + static_cast<std::int64_t>(State.LineCount) == number;
  try {
    if (!follows) {
      State.Blocks.clear();
      State.LineCount = 0;
      State.FirstNumber = number;
    }
    if (State.LineCount % BlockLines == 0) State.Blocks.push_back(std::make_unique<Block>());
    (*State.Blocks.back())[State.LineCount % BlockLines] = record;
    ++State.LineCount;
  } catch (...) {
    State.Blocks.clear();
    State.LineCount = 0;
  }
}

LineRecord RecordFor(HWND hwnd, UINT message, bool returned) noexcept {
  LineRecord record{};
  const std::uint32_t request = LastRequestNumber();
  record.RequestNumber = request;
  record.During = State.InCall;
  record.OnCommand1 = hwnd == HookedCommand1;
  record.Returned = returned;
  record.Message = static_cast<std::uint32_t>(std::find(RecordedMessages.begin(), RecordedMessages.end(), message) -
                                              RecordedMessages.begin());
  if (request != 0 && !State.InCall) {
    const auto ms =
        std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - State.Requests.back().Returned);
    record.MsAfter = static_cast<std::uint16_t>(std::clamp<std::int64_t>(ms.count(), 0, 0xFFFF));
  }
  return record;
}

}  // namespace

UINT MessageOf(const LineRecord& record) noexcept { return RecordedMessages.at(record.Message); }

LoopDispatch::LoopDispatch(const MSG& message) noexcept
    : outerWindow_(State.DispatchWindow), outerMessage_(State.DispatchMessage), outerClaimed_(State.DispatchClaimed) {
  State.DispatchWindow = message.hwnd;
  State.DispatchMessage = message.message;
  State.DispatchClaimed = false;
}

LoopDispatch::~LoopDispatch() {
  State.DispatchWindow = outerWindow_;
  State.DispatchMessage = outerMessage_;
  State.DispatchClaimed = outerClaimed_;
}

RequestScope::RequestScope(RequestKind kind, bool onCommand1, std::int32_t argument) noexcept {
  if (LastRequestNumber() >= MostRequests) return;
  try {
    State.Requests.push_back({kind, onCommand1, argument, TraceCount, Clock::now()});
    State.InCall = true;
  } catch (...) {
  }
}

RequestScope::~RequestScope() {
  if (!State.InCall) return;
  State.InCall = false;
  State.Requests.back().LastNumberDuring = TraceCount;
  State.Requests.back().Returned = Clock::now();
  MarkCallReturned();
}

void NoteSent(HWND hwnd, UINT message, WPARAM wParam, std::int32_t number) noexcept {
  const std::int32_t outer = State.Open.Innermost();
  if (State.Open.Depth < State.Open.Numbers.size()) State.Open.Numbers[State.Open.Depth] = number;
  ++State.Open.Depth;
  if (LogBox == nullptr) return;
  LineRecord record = RecordFor(hwnd, message, false);
  record.Back = Distance(number, outer);
  record.From = static_cast<std::uint32_t>(SenderOf(hwnd, message, RecordOf(outer)));
  ReadInvalid(hwnd, message, wParam, record);
  Keep(number, record);
}

void NoteReturned(HWND hwnd, std::int32_t number) noexcept {
  const std::int32_t sent = State.Open.Innermost();
  if (State.Open.Depth > 0) --State.Open.Depth;
  if (LogBox == nullptr) return;
  const LineRecord* sentRecord = RecordOf(sent);
  LineRecord record = RecordFor(hwnd, sentRecord != nullptr ? MessageOf(*sentRecord) : WM_PAINT, true);
  record.Back = sentRecord != nullptr ? Distance(number, sent) : 0;
  record.From = sentRecord != nullptr ? sentRecord->From : 0;
  Keep(number, record);
}

const LineRecord* RecordOf(std::int32_t number) noexcept {
  const std::int64_t index = static_cast<std::int64_t>(number) - State.FirstNumber;
  if (number <= 0 || index < 0 || index >= static_cast<std::int64_t>(State.LineCount)) return nullptr;
  const auto at = static_cast<std::size_t>(index);
  return &(*State.Blocks[at / BlockLines])[at % BlockLines];
}

const Request* RequestOf(const LineRecord& record) noexcept { return RequestNumbered(record.RequestNumber); }

std::uint32_t RequestsMade() noexcept { return LastRequestNumber(); }

const Request* RequestNumbered(std::uint32_t number) noexcept {
  if (number < State.FirstRequest || number > LastRequestNumber()) return nullptr;
  return &State.Requests[number - State.FirstRequest];
}

const Request* RequestReturnedAfter(std::int32_t number) noexcept {
  const auto end = State.Requests.end() - (State.InCall ? 1 : 0);
  const auto found = std::lower_bound(State.Requests.begin(), end, number,
                                      [](const Request& r, std::int32_t n) { return r.LastNumberDuring < n; });
  return found != end && found->LastNumberDuring == number ? &*found : nullptr;
}

void ForgetLines() noexcept {
  std::vector<std::unique_ptr<Block>>().swap(State.Blocks);
  State.LineCount = 0;
  if (State.Requests.size() <= 1 || State.InCall) return;
  try {
    const std::uint32_t last = LastRequestNumber();
    std::vector<Request>{State.Requests.back()}.swap(State.Requests);
    State.FirstRequest = last;
  } catch (...) {
  }
}

std::size_t RememberedBytes() noexcept {
  return State.Blocks.size() * sizeof(Block) + State.Blocks.capacity() * sizeof(State.Blocks[0]) +
         State.Requests.capacity() * sizeof(Request);
}

}  // namespace Module1
