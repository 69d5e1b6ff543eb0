#include "core/TextParse.h"

#include <limits>

namespace radove {
namespace {

std::string_view SkipBlanks(std::string_view t) {
  std::size_t i = 0;
  while (i < t.size() && (t[i] == ' ' || t[i] == '\t' || t[i] == '\r' || t[i] == '\n')) ++i;
  return t.substr(i);
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

std::optional<std::int64_t> ParseDecimal64(std::string_view text) {
  text = SkipBlanks(text);
  bool negative = false;
  if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
    negative = text[0] == '-';
    text.remove_prefix(1);
  }
  // Accumulate as a negative number so INT64_MIN parses.
  std::int64_t acc = 0;
  std::size_t digits = 0;
  constexpr std::int64_t kMin = std::numeric_limits<std::int64_t>::min();
  for (char c : text) {
    if (c < '0' || c > '9') break;
    const int d = c - '0';
    if (acc < (kMin + d) / 10) return std::nullopt;
    acc = acc * 10 - d;
    ++digits;
  }
  if (digits == 0) return std::nullopt;
  if (negative) return acc;
  if (acc == kMin) return std::nullopt;
  return -acc;
}

std::optional<std::uint64_t> ParseHex64(std::string_view text) {
  text = SkipBlanks(text);
  if (text.size() >= 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X') &&
      text.size() > 2 && HexDigit(text[2]) >= 0) {
    text.remove_prefix(2);
  }
  std::uint64_t acc = 0;
  std::size_t digits = 0;
  for (char c : text) {
    const int d = HexDigit(c);
    if (d < 0) break;
    if (acc > (std::numeric_limits<std::uint64_t>::max() >> 4)) return std::nullopt;
    acc = (acc << 4) | static_cast<std::uint64_t>(d);
    ++digits;
  }
  if (digits == 0) return std::nullopt;
  return acc;
}

std::optional<std::int32_t> ParseDecimal32(std::string_view text) {
  const auto v = ParseDecimal64(text);
  if (!v || *v < std::numeric_limits<std::int32_t>::min() ||
      *v > std::numeric_limits<std::int32_t>::max()) {
    return std::nullopt;
  }
  return static_cast<std::int32_t>(*v);
}

}  // namespace radove
