// The log's margin: beside each trace line, a square in its target's colour, filled for a line traced during a
// request's call and hollow for one that came at any other time, and a rule under the line after which a call
// returned. Drawn from what the hook saw, never over the text.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace Module1 {

inline constexpr COLORREF Command1MarkColour = RGB(0, 114, 178);  // the "No Border" button: blue
inline constexpr COLORREF Text2MarkColour = RGB(230, 159, 0);     // the "   Has Border" text box: orange

// The room the marks need at this DPI, for EM_SETMARGINS.
int MarkMarginWidth(int dpi) noexcept;

// The numbers of a run of the box's lines, known without reading them back; 0 for a line that is no trace line.
struct KnownLines {
  static constexpr std::int32_t ReadBack = -1;  // a line whose text must be read to be known

  int FirstLine = 0;
  const std::vector<std::int32_t>* Numbers = nullptr;
};

// Draws the marks of the box's lines that lie, wholly or in part, between these two heights of its client area.
void DrawLineMarks(HWND box, int top, int bottom, const KnownLines& known) noexcept;

// Draws the marks of the box's last line, the one before the empty line its text ends with.
void DrawLastLineMarks(HWND box, const KnownLines& known) noexcept;

// A line of the box as it shows: which line, and where in the client area, text and margin.
struct BoxLine {
  int Index;
  RECT Bounds;
};

// The line under a point of the box's client area; none past the last line.
std::optional<BoxLine> BoxLineAt(HWND box, POINT client) noexcept;

// A line's text, or nothing when it is longer than any trace line.
std::string ShortLineText(HWND box, int line);

}  // namespace Module1
