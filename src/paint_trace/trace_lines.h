// The two trace line formats and the names of the traced messages.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace Module1 {

// Name written for a traced message, or an empty view for every other message.
std::string_view TracedMessageName(unsigned int message) noexcept;

// "<000001> S WM_PAINT": written before the message is forwarded.
std::string FormatSendLine(std::int32_t number, std::string_view name);

// "<000002> R WM_PAINT   lResult:  &H00000000": written once the window's own procedure returned.
std::string FormatReturnLine(std::int32_t number, std::string_view name, std::int32_t result);

// What a line of either format says.
struct TraceLine {
  std::int32_t Number;
  bool Returned;  // an R line
  unsigned int Message;
  std::string_view Name;
  std::int32_t Result;  // for an R line
};

// Reads a line exactly as one of the two formats writes it; any other text, typed or cut short, is not a trace line.
std::optional<TraceLine> ParseTraceLine(std::string_view text);

}  // namespace Module1
