#include "main_window/paint_order_cases.h"

namespace {

Rows Traced(When time, const char* message, unsigned result, const Rows& inside = {}) {
  Rows rows{{time, 'S', 0, message}};
  for (Row row : inside) {
    ++row.Depth;
    rows.push_back(row);
  }
  rows.push_back({time, 'R', 0, message, result});
  return rows;
}

}  // namespace

bool Row::operator==(const Row& other) const {
  return Time == other.Time && Edge == other.Edge && Depth == other.Depth && Message == other.Message &&
         Result == other.Result;
}

Rows operator+(Rows first, const Rows& second) {
  first.insert(first.end(), second.begin(), second.end());
  return first;
}

Rows Frame(When time) { return Traced(time, "WM_NCPAINT", 0); }
Rows Erase(When time) { return Traced(time, "WM_ERASEBKGND", 1); }
Rows Paint(When time, const Rows& inside) { return Traced(time, "WM_PAINT", 0, inside); }

Rows Optional(Rows rows) {
  for (Row& row : rows) row.Optional = true;
  return rows;
}

bool Matches(const Rows& traced, const Rows& expected, bool optionalMayBeMissing) {
  std::size_t next = 0;
  for (const Row& row : expected) {
    if (next < traced.size() && traced[next] == row) {
      ++next;
    } else if (!(row.Optional && optionalMayBeMissing)) {
      return false;
    }
  }
  return next == traced.size();
}

Rows RowsOf(const Recording& recording) {
  Rows rows;
  int depth = 0;
  const auto add = [&](When time, const std::string& line) {
    // "S WM_PAINT" or "R WM_PAINT   lResult:  &H00000000"
    const char edge = line.empty() ? '?' : line[0];
    const std::size_t end = line.find(' ', 2);
    const std::string message = line.substr(2, end == std::string::npos ? std::string::npos : end - 2);
    const std::size_t hex = line.find("&H");
    const unsigned result = hex == std::string::npos ? 0 : std::stoul(line.substr(hex + 2), nullptr, 16);
    if (edge == 'R') --depth;
    rows.push_back({time, edge, depth, message, result});
    if (edge == 'S') ++depth;
  };
  for (const std::string& line : recording.Lines.During) add(When::During, line);
  for (const std::string& line : recording.Lines.Later) add(When::Later, line);
  return rows;
}

std::string Describe(const Rows& rows) {
  std::string text;
  for (const Row& row : rows) {
    text += std::string(row.Time == When::During ? "during " : "later  ") + std::string(2 * row.Depth, ' ') + row.Edge +
            ' ' + row.Message + (row.Edge == 'R' ? " -> " + std::to_string(row.Result) : "") +
            (row.Optional ? " (optional)" : "") + "\n";
  }
  return text.empty() ? "nothing\n" : text;
}
