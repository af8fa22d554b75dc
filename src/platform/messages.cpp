#include "platform/messages.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

#include "platform/numbers.h"

namespace mirel {

std::span<const MessageEntry> MessageTable();  // messages_table.cpp

const char* Message(int id) {
  const auto table = MessageTable();
  const auto it = std::lower_bound(table.begin(), table.end(), id,
                                   [](const MessageEntry& e, int key) { return e.id < key; });
  return (it != table.end() && it->id == id) ? it->text : "";
}

std::span<const MessageEntry> AllMessages() { return MessageTable(); }

namespace {

constexpr int kMaxWidth = 64;

std::string ShortestNumber(double value) {
  char buffer[64];
  const auto [ptr, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
  return ec == std::errc() ? std::string(buffer, ptr) : std::string();
}

std::string AsText(const MessageArg& arg) {
  const auto& v = arg.value();
  if (const auto* i = std::get_if<std::int64_t>(&v)) return FormatInt(*i);
  if (const auto* d = std::get_if<double>(&v)) return ShortestNumber(*d);
  return std::get<std::string>(v);
}

std::string AsInteger(const MessageArg& arg) {
  const auto& v = arg.value();
  if (const auto* d = std::get_if<double>(&v)) {
    if (!std::isfinite(*d)) return ShortestNumber(*d);
    const double t = std::trunc(*d);
    if (t >= static_cast<double>(std::numeric_limits<std::int64_t>::min()) &&
        t < static_cast<double>(std::numeric_limits<std::int64_t>::max())) {
      return FormatInt(static_cast<std::int64_t>(t));
    }
    return FormatDouble(t, 0);
  }
  return AsText(arg);
}

std::string AsFixed(const MessageArg& arg, int decimals) {
  const auto& v = arg.value();
  if (const auto* i = std::get_if<std::int64_t>(&v)) return FormatDouble(static_cast<double>(*i), decimals);
  if (const auto* d = std::get_if<double>(&v)) return FormatDouble(*d, decimals);
  return std::get<std::string>(v);
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Digits that are the width of a printf-like directive ("3d", "5.1f")
// rather than an argument number ("1 ").
bool IsWidth(std::string_view rest) {
  std::size_t k = 0;
  while (k < rest.size() && IsDigit(rest[k])) ++k;
  if (k == rest.size()) return false;
  const char c = rest[k];
  return c == '.' || c == 'l' || c == 'd' || c == 'i' || c == 'u' || c == 's' || c == 'f';
}

void AppendPadded(std::string& out, const std::string& text, int width, bool left, bool zero) {
  const int pad = width - static_cast<int>(text.size());
  if (pad <= 0) {
    out += text;
  } else if (left) {
    out += text;
    out.append(static_cast<std::size_t>(pad), ' ');
  } else if (zero) {
    // Zeros go after a sign.
    const bool sign = !text.empty() && (text[0] == '-' || text[0] == '+');
    if (sign) out += text[0];
    out.append(static_cast<std::size_t>(pad), '0');
    out.append(text, sign ? 1 : 0);
  } else {
    out.append(static_cast<std::size_t>(pad), ' ');
    out += text;
  }
}

}  // namespace

std::string FormatText(std::string_view format, std::span<const MessageArg> args) {
  std::string out;
  out.reserve(format.size() + 16);
  std::size_t next = 0;  // next sequential argument
  std::size_t i = 0;
  while (i < format.size()) {
    const char c = format[i];
    if (c != '%' || i + 1 >= format.size()) {
      out += c;
      ++i;
      continue;
    }
    const char d = format[i + 1];
    if (d == '%') {
      out += '%';
      i += 2;
      continue;
    }
    if (d >= '1' && d <= '9' && !IsWidth(format.substr(i + 1))) {
      const std::size_t n = static_cast<std::size_t>(d - '1');
      if (n < args.size()) out += AsText(args[n]);
      i += 2;
      continue;
    }
    // %[-0][width][.precision](d|i|u|s|f), optionally with an "l" or "ll".
    std::size_t j = i + 1;
    bool left = false;
    bool zero = false;
    while (j < format.size() && (format[j] == '-' || format[j] == '0')) {
      (format[j] == '-' ? left : zero) = true;
      ++j;
    }
    int width = 0;
    while (j < format.size() && IsDigit(format[j])) {
      width = std::min(kMaxWidth, width * 10 + (format[j] - '0'));
      ++j;
    }
    int precision = -1;
    if (j < format.size() && format[j] == '.') {
      ++j;
      precision = 0;
      while (j < format.size() && IsDigit(format[j])) {
        precision = std::min(20, precision * 10 + (format[j] - '0'));
        ++j;
      }
    }
    while (j < format.size() && format[j] == 'l') ++j;
    if (j >= format.size()) {
      out += c;
      ++i;
      continue;
    }
    const char conv = format[j];
    if (conv != 'd' && conv != 'i' && conv != 'u' && conv != 's' && conv != 'f') {
      out += c;  // not a directive: keep the "%" as text
      ++i;
      continue;
    }
    std::string piece;
    if (next < args.size()) {
      const MessageArg& arg = args[next];
      if (conv == 's') {
        piece = AsText(arg);
      } else if (conv == 'f') {
        piece = AsFixed(arg, precision < 0 ? 6 : precision);
      } else {
        piece = AsInteger(arg);
      }
    }
    ++next;
    AppendPadded(out, piece, width, left, zero && conv != 's');
    i = j + 1;
  }
  return out;
}

}  // namespace mirel
