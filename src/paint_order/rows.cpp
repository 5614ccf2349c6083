#include "paint_order/rows.h"

#include <cstdio>

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

bool Matches(const Rows& traced, const Rows& expected, bool optionalMayBeMissing, Rows* absent) {
  std::size_t next = 0;
  for (const Row& row : expected) {
    if (next < traced.size() && traced[next] == row) {
      ++next;
    } else if (row.Optional && optionalMayBeMissing) {
      if (absent != nullptr) absent->push_back(row);
    } else {
      return false;
    }
  }
  return next == traced.size();
}

Rows RowsOf(const Trace& trace) {
  Rows rows;
  int depth = 0;
  const auto add = [&](When time, const std::string& line) {
    // "S WM_PAINT" or "R WM_PAINT   lResult:  &H00000000"
    const char edge = line.empty() ? '?' : line[0];
    const std::size_t end = line.find(' ', 2);
    const std::string message = line.size() < 2 ? "" : line.substr(2, end == std::string::npos ? end : end - 2);
    const std::size_t hex = line.find("&H");
    const unsigned result = hex == std::string::npos ? 0 : std::stoul(line.substr(hex + 2), nullptr, 16);
    if (edge == 'R') --depth;
    rows.push_back({time, edge, depth, message, result});
    if (edge == 'S') ++depth;
  };
  for (const std::string& line : trace.During) add(When::During, line);
  for (const std::string& line : trace.Later) add(When::Later, line);
  return rows;
}

std::vector<std::string> LinesOf(const Rows& rows, When time) {
  std::vector<std::string> lines;
  for (const Row& row : rows) {
    if (row.Time != time) continue;
    std::string line = std::string(1, row.Edge) + ' ' + row.Message;
    if (row.Edge == 'R') {
      char result[24];
      std::snprintf(result, sizeof result, "   lResult:  &H%08X", row.Result);
      line += result;
    }
    lines.push_back(line);
  }
  return lines;
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
