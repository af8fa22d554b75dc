#include "platform/numbers.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <system_error>

namespace mirel {
namespace {

constexpr bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

std::string_view Trim(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

// Strips one leading "+" (from_chars does not accept it). A "+" followed by
// another sign is left so that the parse fails.
std::string_view DropPlus(std::string_view text) {
  if (text.size() > 1 && text.front() == '+' && text[1] != '-' && text[1] != '+') {
    text.remove_prefix(1);
  }
  return text;
}

template <class T>
std::optional<T> ParseInteger(std::string_view text) {
  text = DropPlus(Trim(text));
  if (text.empty()) return std::nullopt;
  T value{};
  const char* end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), end, value, 10);
  if (ec != std::errc() || ptr != end) return std::nullopt;
  return value;
}

}  // namespace

std::optional<int> ParseInt(std::string_view text) { return ParseInteger<int>(text); }

std::optional<std::int64_t> ParseInt64(std::string_view text) {
  return ParseInteger<std::int64_t>(text);
}

std::optional<double> ParseDouble(std::string_view text) {
  text = DropPlus(Trim(text));
  if (text.empty()) return std::nullopt;
  // from_chars accepts "inf" and "nan"; numbers in documents never use them.
  const std::string_view digits = text.front() == '-' ? text.substr(1) : text;
  if (digits.empty() || !((digits.front() >= '0' && digits.front() <= '9') ||
                          digits.front() == '.')) {
    return std::nullopt;
  }
  double value = 0;
  const char* end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), end, value, std::chars_format::general);
  if (ec != std::errc() || ptr != end || !std::isfinite(value)) return std::nullopt;
  return value;
}

std::string FormatDouble(double value, int decimals) {
  decimals = std::clamp(decimals, 0, 20);
  // 309 integer digits, sign, point and 20 decimals fit comfortably.
  char buffer[400];
  const auto [ptr, ec] =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
  if (ec != std::errc()) return {};
  std::string out(buffer, ptr);
  if (!out.empty() && out.front() == '-' &&
      out.find_first_not_of("0.", 1) == std::string::npos) {
    out.erase(0, 1);
  }
  return out;
}

std::string FormatInt(std::int64_t value) {
  char buffer[24];
  const auto [ptr, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
  return std::string(buffer, ptr);
}

}  // namespace mirel
