#include "paint_trace/line_marks.h"

#include <algorithm>
#include <array>
#include <optional>

#include "paint_trace/line_records.h"
#include "paint_trace/trace_lines.h"

namespace Module1 {

namespace {

// Where the marks go in the box, read from the box each time: its font, margin and text can change.
struct MarginGeometry {
  RECT Margin;   // the strip left of the text, as high as the client area
  int FirstTop;  // the top of the first visible line
  int LineHeight;
  int FirstLine;  // the first visible line
  int LineCount;
  int Dpi;
};

std::optional<MarginGeometry> GeometryOf(HWND box, HDC dc) noexcept {
  RECT text{}, client{};
  SendMessageA(box, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&text));
  GetClientRect(box, &client);
  const int margin = LOWORD(SendMessageA(box, EM_GETMARGINS, 0, 0));
  const HGDIOBJ previous = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(box, WM_GETFONT, 0, 0)));
  TEXTMETRICA metrics{};
  GetTextMetricsA(dc, &metrics);
  SelectObject(dc, previous);
  // Only a box that made room for the marks gets them: in a narrower margin they would be cut short.
  if (margin < MarkMarginWidth(GetDeviceCaps(dc, LOGPIXELSX)) || metrics.tmHeight <= 0) return std::nullopt;
  return MarginGeometry{{text.left - margin, client.top, text.left, client.bottom},
                        static_cast<int>(text.top),
                        static_cast<int>(metrics.tmHeight),
                        static_cast<int>(SendMessageA(box, EM_GETFIRSTVISIBLELINE, 0, 0)),
                        static_cast<int>(SendMessageA(box, EM_GETLINECOUNT, 0, 0)),
                        GetDeviceCaps(dc, LOGPIXELSY)};
}

std::optional<MarginGeometry> GeometryOf(HWND box) noexcept {
  const HDC dc = GetDC(box);
  if (dc == nullptr) return std::nullopt;
  const std::optional<MarginGeometry> at = GeometryOf(box, dc);
  ReleaseDC(box, dc);
  return at;
}

void Fill(HDC dc, RECT area, COLORREF colour) noexcept {
  SetBkColor(dc, colour);
  ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &area, nullptr, 0, nullptr);
}

void DrawMark(HDC dc, const MarginGeometry& at, int row, std::int32_t number) noexcept {
  const LineRecord* record = RecordOf(number);
  if (record == nullptr) return;
  const int pixel = std::max(1, MulDiv(1, at.Dpi, 96));
  const int side = std::min(at.LineHeight - 2 * pixel, MulDiv(7, at.Dpi, 96));
  RECT square{at.Margin.left + 2 * pixel, row + (at.LineHeight - side) / 2, 0, 0};
  square.right = square.left + side;
  square.bottom = square.top + side;
  const COLORREF colour = record->OnCommand1 ? Command1MarkColour : Text2MarkColour;
  Fill(dc, square, colour);
  if (!record->During) {
    InflateRect(&square, -pixel, -pixel);
    Fill(dc, square, GetSysColor(COLOR_WINDOW));
  }
  if (RequestReturnedAfter(number) != nullptr) {
    Fill(dc, {at.Margin.left, row + at.LineHeight - pixel, at.Margin.right, row + at.LineHeight},
         GetSysColor(COLOR_WINDOWTEXT));
  }
}

// A line's number: known for the lines the log put in last, read back for any other, which costs the box a walk
// through its lines.
std::optional<std::int32_t> NumberOf(HWND box, int line, const KnownLines& known) {
  const auto index = static_cast<std::size_t>(line - known.FirstLine);
  if (known.Numbers != nullptr && line >= known.FirstLine && index < known.Numbers->size() &&
      (*known.Numbers)[index] != KnownLines::ReadBack) {
    return (*known.Numbers)[index];
  }
  const std::string text = ShortLineText(box, line);
  const std::optional<TraceLine> traced = ParseTraceLine(text);
  const LineRecord* record = traced ? RecordOf(traced->Number) : nullptr;
  if (record == nullptr || record->Returned != static_cast<std::uint32_t>(traced->Returned)) return std::nullopt;
  return traced->Number;
}

}  // namespace

int MarkMarginWidth(int dpi) noexcept { return MulDiv(12, dpi, 96); }

void DrawLineMarks(HWND box, int top, int bottom, const KnownLines& known) noexcept {
  const HDC dc = GetDC(box);
  if (dc == nullptr) return;
  if (const std::optional<MarginGeometry> at = GeometryOf(box, dc)) {
    IntersectClipRect(dc, at->Margin.left, at->Margin.top, at->Margin.right, at->Margin.bottom);
    const int first = at->FirstLine + std::max(0, (top - at->FirstTop) / at->LineHeight);
    const int last = std::min(at->LineCount - 1, at->FirstLine + (bottom - at->FirstTop) / at->LineHeight);
    const int firstRow = at->FirstTop + (first - at->FirstLine) * at->LineHeight;
    // Below the last line too: marks of lines cleared, cut or scrolled away must not stay beside no text.
    Fill(dc,
         {at->Margin.left, std::min(top, firstRow), at->Margin.right,
          std::max(bottom + 1, firstRow + (last - first + 1) * at->LineHeight)},
         GetSysColor(COLOR_WINDOW));
    for (int line = first; line <= last; ++line) {
      try {
        if (const std::optional<std::int32_t> number = NumberOf(box, line, known)) {
          DrawMark(dc, *at, firstRow + (line - first) * at->LineHeight, *number);
        }
      } catch (...) {
      }
    }
  }
  ReleaseDC(box, dc);
}

void DrawLastLineMarks(HWND box, const KnownLines& known) noexcept {
  const std::optional<MarginGeometry> at = GeometryOf(box);
  if (!at) return;
  const int row = at->FirstTop + (at->LineCount - 2 - at->FirstLine) * at->LineHeight;
  DrawLineMarks(box, row, row + at->LineHeight - 1, known);
}

std::optional<BoxLine> BoxLineAt(HWND box, POINT client) noexcept {
  const std::optional<MarginGeometry> at = GeometryOf(box);
  if (!at || client.y < at->FirstTop || client.x < at->Margin.left) return std::nullopt;
  const int line = at->FirstLine + (client.y - at->FirstTop) / at->LineHeight;
  if (line >= at->LineCount) return std::nullopt;
  RECT client_area{};
  GetClientRect(box, &client_area);
  const int top = at->FirstTop + (line - at->FirstLine) * at->LineHeight;
  return BoxLine{line, {at->Margin.left, top, client_area.right, top + at->LineHeight}};
}

std::string ShortLineText(HWND box, int line) {
  const LRESULT start = SendMessageA(box, EM_LINEINDEX, static_cast<WPARAM>(line), 0);
  std::array<char, 64> text{};
  if (start < 0 || SendMessageA(box, EM_LINELENGTH, static_cast<WPARAM>(start), 0) >= 60) return {};
  text[0] = static_cast<char>(text.size() - 1);
  const auto length = static_cast<std::size_t>(
      SendMessageA(box, EM_GETLINE, static_cast<WPARAM>(line), reinterpret_cast<LPARAM>(text.data())));
  return std::string(text.data(), std::min(length, text.size() - 1));
}

}  // namespace Module1
