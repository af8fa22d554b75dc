#pragma once
// The scrambling of passwords stored in documents (the file password and
// sheet passwords). It only keeps them from being read at a glance; it is
// kept for file compatibility and is no protection.
#include <optional>
#include <string>

namespace mirel {

// Byte i (from 1) becomes byte - (i mod 5) - (i mod 3). Fails (nullopt) when
// the first character, after a leading CR LF, is not printable ASCII.
std::optional<std::string> ScramblePassword(const std::string& text);
// The reverse, for the bytes before the first zero byte.
std::string UnscramblePassword(const std::string& text);
// True when the text survives scrambling and unscrambling unchanged, the
// test a new password must pass.
bool CanStorePassword(const std::string& text);

// Asks for the file password until the entry equals `expected` or the user
// cancels; a wrong entry shows "密码错误!". True when the right one was given.
bool AskFilePassword(const std::string& expected);

}  // namespace mirel
