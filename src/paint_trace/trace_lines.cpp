#include "paint_trace/trace_lines.h"

#include <array>
#include <cinttypes>
#include <cstdio>
#include <cstdlib>

namespace Module1 {
namespace {

struct TracedMessage {
  unsigned int Message;
  std::string_view Name;
};

// Values as the platform defines them, kept here so these pieces need no platform header.
constexpr std::array<TracedMessage, 3> TracedMessages{{
    {0x000F, "WM_PAINT"},
    {0x0014, "WM_ERASEBKGND"},
    {0x0085, "WM_NCPAINT"},
}};

std::string SequencePrefix(std::int32_t number, std::string_view kind, std::string_view name) {
  char digits[16];
  const int length = std::snprintf(digits, sizeof digits, "%06" PRId32, number);
  std::string line;
  line.reserve(static_cast<std::size_t>(length) + kind.size() + name.size() + 2);
  line.append("<").append(digits, static_cast<std::size_t>(length)).append(">");
  line.append(kind).append(name);
  return line;
}

unsigned int MessageNamed(std::string_view name) noexcept {
  for (const TracedMessage& traced : TracedMessages) {
    if (traced.Name == name) return traced.Message;
  }
  return 0;
}

}  // namespace

std::string_view TracedMessageName(unsigned int message) noexcept {
  for (const TracedMessage& traced : TracedMessages) {
    if (traced.Message == message) return traced.Name;
  }
  return {};
}

std::string FormatSendLine(std::int32_t number, std::string_view name) { return SequencePrefix(number, " S ", name); }

std::string FormatReturnLine(std::int32_t number, std::string_view name, std::int32_t result) {
  char hex[9];
  std::snprintf(hex, sizeof hex, "%08" PRIX32, static_cast<std::uint32_t>(result));
  return SequencePrefix(number, " R ", name).append("   lResult:  &H").append(hex, 8);
}

std::optional<TraceLine> ParseTraceLine(std::string_view text) {
  const std::size_t close = text.find('>');
  if (text.empty() || text[0] != '<' || close == std::string_view::npos || close > 11) return std::nullopt;
  const long long number = std::strtoll(std::string(text.substr(1, close - 1)).c_str(), nullptr, 10);
  const std::string_view after = text.substr(close + 1);
  const bool returned = after.substr(0, 3) == " R ";
  const std::string_view name = after.substr(3, after.find(' ', 3) - 3);
  const unsigned int message = MessageNamed(name);
  const std::string_view known = TracedMessageName(message);
  if (number < 0 || number > INT32_MAX || known.empty()) return std::nullopt;
  TraceLine line{static_cast<std::int32_t>(number), returned, message, known, 0};
  if (returned && text.size() >= 8) {
    line.Result =
        static_cast<std::int32_t>(std::strtoul(std::string(text.substr(text.size() - 8)).c_str(), nullptr, 16));
  }
  // Whatever the pieces read, only a line that writes back the same is one.
  const std::string again =
      returned ? FormatReturnLine(line.Number, known, line.Result) : FormatSendLine(line.Number, known);
  if (again != text) return std::nullopt;
  return line;
}

}  // namespace Module1
