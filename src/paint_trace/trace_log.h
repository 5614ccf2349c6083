// Reading the log the way a user does: whole lines, their numbers, and what they say without the numbers.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The log's lines without their CR LF; text after the last CR LF is returned as a last line.
std::vector<std::string> LogLines(const std::string& text);

// The sequence number of a trace line, or -1 when the line does not start with one.
std::int32_t LineNumber(const std::string& line);

// "S WM_PAINT" or "R WM_PAINT   lResult:  &H00000000": a trace line without its number.
std::vector<std::string> WithoutNumbers(const std::vector<std::string>& lines);

// True when the lines carry consecutive numbers starting at first.
bool NumberedFrom(const std::vector<std::string>& lines, std::int32_t first);
