// Reads a whole log and says everything wrong with it: the one promise of the tool is an exact log.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// What the user did to the log, as seen just before the log handled the key: the selection it replaced.
struct LogEdit {
  std::size_t Start;     // where the typed character went
  std::string Replaced;  // the selected text it took the place of
};

// Takes the user's edits back out, newest first, leaving the text the trace alone wrote.
std::string WithoutEdits(std::string text, const std::vector<LogEdit>& edits);

// Every problem found, empty for a sound log: a malformed line or result, a line not ended by CR LF, a
// gap or repeat in the numbering (which starts at first), an R without its S or naming another message, an S
// never closed.
std::vector<std::string> LogProblems(const std::string& text, std::int32_t first);
