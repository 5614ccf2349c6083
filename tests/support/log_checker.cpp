#include "support/log_checker.h"

#include <regex>

std::string WithoutEdits(std::string text, const std::vector<LogEdit>& edits) {
  for (auto edit = edits.rbegin(); edit != edits.rend(); ++edit) text.replace(edit->Start, 1, edit->Replaced);
  return text;
}

std::vector<std::string> LogProblems(const std::string& text, std::int32_t first) {
  static const std::regex send(R"(<(\d{6,})> S (WM_PAINT|WM_ERASEBKGND|WM_NCPAINT))");
  static const std::regex reply(R"(<(\d{6,})> R (WM_PAINT|WM_ERASEBKGND|WM_NCPAINT)   lResult:  &H[0-9A-F]{8})");
  std::vector<std::string> problems;
  std::vector<std::string> open;  // names of the messages still being handled, innermost last
  std::int64_t expected = first;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = text.find("\r\n", start);
    const std::string line = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
    const std::string where = "line " + std::to_string(expected - first + 1) + " \"" + line + "\": ";
    if (end == std::string::npos) problems.push_back(where + "not ended by CR LF");
    if (line.find('\n') != std::string::npos || line.find('\r') != std::string::npos) {
      problems.push_back(where + "a lone CR or LF");
    }
    std::smatch match;
    const bool isSend = std::regex_match(line, match, send);
    if (!isSend && !std::regex_match(line, match, reply)) {
      problems.push_back(where + "malformed");
    } else {
      if (std::stoll(match[1]) != expected) problems.push_back(where + "expected number " + std::to_string(expected));
      if (isSend) {
        open.push_back(match[2]);
      } else if (open.empty()) {
        problems.push_back(where + "R without its S");
      } else {
        if (open.back() != match[2]) problems.push_back(where + "R closes an S of " + open.back());
        open.pop_back();
      }
    }
    ++expected;
    if (end == std::string::npos) break;
    start = end + 2;
  }
  for (const std::string& name : open) problems.push_back("S of " + name + " without its R");
  return problems;
}
