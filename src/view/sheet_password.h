#pragma once
// The password of a work form: asked before the work form is shown, and
// set or removed by the user. Passwords are GBK, as the document keeps them.
#include <optional>
#include <string>

namespace mirel {

// Asks for the password (dialog "工作表密码") until the entry equals
// `expectedGbk` or the user cancels; a wrong entry shows "密码错误!" and the
// user tries again. True when the right password was given.
bool AskSheetPassword(const std::string& expectedGbk);

// Asks for a new password for a work form; an empty entry removes it.
// Nothing when the user cancels, or when the entry cannot be stored in a
// document (it is refused with a message and nothing changes).
std::optional<std::string> AskNewSheetPassword();

} // namespace mirel
