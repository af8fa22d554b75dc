#include "persist/password.h"

#include "platform/gbk.h"
#include "platform/messages.h"
#include "platform/prompt.h"

namespace mirel {

std::optional<std::string> ScramblePassword(const std::string& text)
{
    if (text.empty())
        return text;
    size_t first = 0;
    if (text.size() >= 2 && text[0] == '\r' && text[1] == '\n')
        first = 2;
    if (first < text.size()) {
        const unsigned char c = static_cast<unsigned char>(text[first]);
        if (c < 0x20 || c > 0x7F)
            return std::nullopt;
    }
    std::string out = text;
    for (size_t k = 0; k < out.size(); ++k) {
        const unsigned i = static_cast<unsigned>(k + 1);
        out[k] = static_cast<char>(static_cast<unsigned char>(out[k]) - (i % 5) - (i % 3));
    }
    return out;
}

std::string UnscramblePassword(const std::string& text)
{
    std::string out;
    for (size_t k = 0; k < text.size() && text[k] != '\0'; ++k) {
        const unsigned i = static_cast<unsigned>(k + 1);
        out.push_back(static_cast<char>(static_cast<unsigned char>(text[k]) + (i % 5) + (i % 3)));
    }
    return out;
}

bool CanStorePassword(const std::string& text)
{
    const std::optional<std::string> s = ScramblePassword(text);
    return s && UnscramblePassword(*s) == text;
}

bool AskFilePassword(const std::string& expected)
{
    Prompt& prompt = CurrentPrompt();
    for (;;) {
        const std::optional<std::string> entry = prompt.AskText(Message(41669), "&P.密码:", "", true, 20);
        if (!entry)
            return false;
        if (Utf8ToGbk(*entry).text == expected)
            return true;
        prompt.MessageBox(kComponentCaption, Message(41668), PromptIcon::Error, PromptButtons::Ok);
    }
}

}  // namespace mirel
