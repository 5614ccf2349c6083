// Reads a flag box's tag, "&H" and hexadecimal digits, as a signed 32-bit value.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

constexpr std::optional<std::int32_t> ParseTag(std::string_view tag) noexcept {
  constexpr std::string_view prefix = "&H";
  if (tag.substr(0, prefix.size()) != prefix) return std::nullopt;
  const std::string_view digits = tag.substr(prefix.size());
  if (digits.empty() || digits.size() > 8) return std::nullopt;
  std::uint32_t value = 0;
  for (const char c : digits) {
    std::uint32_t digit = 0;
    if (c >= '0' && c <= '9') {
      digit = static_cast<std::uint32_t>(c - '0');
    } else if (c >= 'A' && c <= 'F') {
      digit = static_cast<std::uint32_t>(c - 'A' + 10);
    } else if (c >= 'a' && c <= 'f') {
      digit = static_cast<std::uint32_t>(c - 'a' + 10);
    } else {
      return std::nullopt;
    }
    value = value * 16 + digit;
  }
  // Eight digits fill the word, so &HFFFFFFFF is -1.
  return static_cast<std::int32_t>(value);
}
