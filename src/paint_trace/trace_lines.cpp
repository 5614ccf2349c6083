#include "paint_trace/trace_lines.h"

#include <array>
#include <cinttypes>
#include <cstdio>

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

}  // namespace Module1
