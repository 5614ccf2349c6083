// The two trace line formats and the names of the traced messages.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace Module1 {

// Name written for a traced message, or an empty view for every other message.
std::string_view TracedMessageName(unsigned int message) noexcept;

// "<000001> S WM_PAINT": written before the message is forwarded.
std::string FormatSendLine(std::int32_t number, std::string_view name);

// "<000002> R WM_PAINT   lResult:  &H00000000": written once the window's own procedure returned.
std::string FormatReturnLine(std::int32_t number, std::string_view name, std::int32_t result);

}  // namespace Module1
