// One request's trace, and the rows the catalogue expects of it: which messages, in which order and nesting,
// during the call or later, and which of them Windows may leave out.
#pragma once

#include <string>
#include <vector>

// What the log showed for one request, its lines without their numbers, split where the call returned.
struct Trace {
  std::vector<std::string> During;  // traced before RedrawWindow or InvalidateRect returned
  std::vector<std::string> Later;   // delivered afterwards by the message loop
  std::string LeftInvalid;          // what still needed painting when the call returned
  std::string Note;                 // what the recording says of the row beyond its lines: late lines, a bound
};

enum class When { During, Later };

// One traced line: when it came, arrival or return, how deep it was nested, the message and its result.
struct Row {
  When Time;
  char Edge;  // 'S' when the message arrives, 'R' when the target's procedure returns
  int Depth;  // 0 for a message the platform sent or posted itself; n+1 for one sent while n was handled
  std::string Message;
  unsigned Result = 0;                      // R rows only
  bool Optional = false;                    // Wine sends it; a test that passes on Windows tolerates its absence
  bool operator==(const Row& other) const;  // the same line; whether it is optional does not count
};
using Rows = std::vector<Row>;

Rows operator+(Rows first, const Rows& second);
Rows Frame(When time);                           // WM_NCPAINT, returning 0 under Wine
Rows Erase(When time);                           // WM_ERASEBKGND, returning 1 under Wine
Rows Paint(When time, const Rows& inside = {});  // WM_PAINT, returning 0 under Wine, with what was sent inside it
Rows Optional(Rows rows);                        // the same rows, each one that may be absent on Windows
inline const Rows Nothing{};

// The rows a trace shows, with the nesting read from the order of its S and R lines.
Rows RowsOf(const Trace& trace);
// The lines of the log that the rows stand for, without numbers: "S WM_PAINT", "R WM_PAINT   lResult:  &H00000000".
std::vector<std::string> LinesOf(const Rows& rows, When time);
std::string Describe(const Rows& rows);
// Whether the traced rows are the expected ones. Under Wine every row must be there; on Windows an optional
// expected row may be missing. The optional rows that were missing are added to absent, when it is given.
bool Matches(const Rows& traced, const Rows& expected, bool optionalMayBeMissing, Rows* absent = nullptr);
