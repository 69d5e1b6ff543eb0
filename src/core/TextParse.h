#pragma once
// Number parsing with the program's forgiving rules: leading blanks are skipped,
// the number is read from the start of the text, trailing text is ignored, and a
// text that does not begin with a number yields nothing.

#include <cstdint>
#include <optional>
#include <string_view>

namespace radove {

// Signed decimal 64-bit; nullopt when there are no digits or the value overflows.
std::optional<std::int64_t> ParseDecimal64(std::string_view text);
// Base-16 64-bit (an optional "0x" prefix is accepted); nullopt as above.
std::optional<std::uint64_t> ParseHex64(std::string_view text);
// Signed decimal 32-bit; nullopt also when out of the 32-bit range.
std::optional<std::int32_t> ParseDecimal32(std::string_view text);

// atoi-like: the decimal number at the start of the text, 0 when there is none.
inline std::int64_t LeadingNumber(std::string_view text) {
  return ParseDecimal64(text).value_or(0);
}

}  // namespace radove
