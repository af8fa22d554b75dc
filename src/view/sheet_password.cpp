#include "view/sheet_password.h"

#include "persist/password.h"
#include "platform/gbk.h"
#include "platform/messages.h"
#include "platform/prompt.h"

namespace mirel {

namespace {
constexpr int kMaxPasswordLength = 20;
constexpr char kPasswordLabel[] = "&P.密码:";
constexpr char kNewPasswordLabel[] = "&N.新密码:";
// A password whose first character is not printable ASCII would not read
// back from the file: the work form could never be opened again.
constexpr char kUnstorablePassword[] = "密码须以英文字母、数字或符号开头。";
} // namespace

bool AskSheetPassword(const std::string& expectedGbk)
{
    Prompt& prompt = CurrentPrompt();
    for (;;) {
        const std::optional<std::string> entry
            = prompt.AskText(Message(41670), kPasswordLabel, "", true, kMaxPasswordLength);
        if (!entry)
            return false;
        if (Utf8ToGbk(*entry).text == expectedGbk)
            return true;
        prompt.MessageBox(kComponentCaption, Message(41668), PromptIcon::Error, PromptButtons::Ok);
    }
}

std::optional<std::string> AskNewSheetPassword()
{
    Prompt& prompt = CurrentPrompt();
    const std::optional<std::string> entry
        = prompt.AskText(Message(41670), kNewPasswordLabel, "", true, kMaxPasswordLength);
    if (!entry)
        return std::nullopt;
    const std::string gbk = Utf8ToGbk(*entry).text;
    if (!gbk.empty() && !CanStorePassword(gbk)) {
        prompt.MessageBox(kComponentCaption, kUnstorablePassword, PromptIcon::Error, PromptButtons::Ok);
        return std::nullopt;
    }
    return gbk;
}

} // namespace mirel
