// The string table: every numbered message text of the program, in UTF-8,
// keyed by the number the program uses for it.
#pragma once

#include <concepts>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <variant>

namespace mirel {

// Caption of the message boxes the component raises.
inline constexpr const char kComponentCaption[] = "办公组件";

struct MessageEntry {
  int id;
  const char* text;
};

// The text of string `id`, or "" when there is no such string.
const char* Message(int id);

// All entries, sorted by id (for tests and tools).
std::span<const MessageEntry> AllMessages();

// One argument of a formatted message.
class MessageArg {
 public:
  template <std::integral T>
  MessageArg(T value) : value_(static_cast<std::int64_t>(value)) {}
  template <std::floating_point T>
  MessageArg(T value) : value_(static_cast<double>(value)) {}
  MessageArg(const char* text) : value_(std::string(text ? text : "")) {}
  MessageArg(std::string_view text) : value_(std::string(text)) {}
  MessageArg(const std::string& text) : value_(text) {}

  const std::variant<std::int64_t, double, std::string>& value() const { return value_; }

 private:
  std::variant<std::int64_t, double, std::string> value_;
};

// Fills a message text. The format is never handed to printf; understood are
//   %1 … %9            the n-th argument as text (does not consume); digits
//                      followed by a conversion ("%3d", "%2.1f") are a width
//   %d %i %u %s %f     the next argument, as integer / text / number
//   %.Nf               the next argument with N decimals
//   optional "-" / "0" flags and a width (at most 64), e.g. "%02d"
//   %%                 a percent sign
// Any other "%" stays as it is. A missing argument prints nothing; an
// argument of another kind is converted (a number for %s, a text for %d).
std::string FormatText(std::string_view format, std::span<const MessageArg> args);

template <class... Args>
std::string FormatMessage(int id, const Args&... args) {
  if constexpr (sizeof...(Args) == 0) {
    return FormatText(Message(id), {});
  } else {
    const MessageArg list[] = {MessageArg(args)...};
    return FormatText(Message(id), list);
  }
}

}  // namespace mirel
