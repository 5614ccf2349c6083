#include "paint_trace/trace_log.h"

#include <cstdlib>

std::vector<std::string> LogLines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2) {
    lines.push_back(text.substr(start, end - start));
  }
  if (start < text.size()) lines.push_back(text.substr(start));
  return lines;
}

std::int32_t LineNumber(const std::string& line) {
  const std::size_t close = line.find('>');
  if (line.empty() || line[0] != '<' || close == std::string::npos || close < 7) return -1;
  return static_cast<std::int32_t>(std::strtol(line.c_str() + 1, nullptr, 10));
}

std::vector<std::string> WithoutNumbers(const std::vector<std::string>& lines) {
  std::vector<std::string> events;
  for (const std::string& line : lines) {
    const std::size_t close = line.find("> ");
    events.push_back(close == std::string::npos ? line : line.substr(close + 2));
  }
  return events;
}

bool NumberedFrom(const std::vector<std::string>& lines, std::int32_t first) {
  for (const std::string& line : lines) {
    if (LineNumber(line) != first++) return false;
  }
  return true;
}
