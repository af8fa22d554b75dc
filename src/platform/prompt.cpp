#include "platform/prompt.h"

#include <atomic>
#include <cstdio>

#include "platform/messages.h"

namespace mirel {
namespace {

ScriptedPrompt& DefaultPrompt() {
  static ScriptedPrompt prompt = [] {
    ScriptedPrompt p;
    p.SetEcho(true);
    p.SetRecording(false);  // a long-running process must not grow a log
    return p;
  }();
  return prompt;
}

std::atomic<Prompt*> g_current{nullptr};

// Cuts UTF-8 text after `maxChars` code points.
std::string CutToCharacters(std::string text, int maxChars) {
  if (maxChars <= 0) return text;
  std::size_t chars = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) {
      if (chars == static_cast<std::size_t>(maxChars)) {
        text.resize(i);
        break;
      }
      ++chars;
    }
  }
  return text;
}

void Echo(std::string_view caption, std::string_view text, const char* what) {
  std::fprintf(stderr, "%.*s [%s]: %.*s\n", static_cast<int>(caption.size()), caption.data(), what,
               static_cast<int>(text.size()), text.data());
}

}  // namespace

bool IsOffered(PromptButtons buttons, PromptAnswer answer) {
  switch (buttons) {
    case PromptButtons::Ok:
      return answer == PromptAnswer::Ok;
    case PromptButtons::OkCancel:
      return answer == PromptAnswer::Ok || answer == PromptAnswer::Cancel;
    case PromptButtons::YesNo:
      return answer == PromptAnswer::Yes || answer == PromptAnswer::No;
    case PromptButtons::YesNoCancel:
      return answer != PromptAnswer::Ok;
  }
  return false;
}

Prompt& CurrentPrompt() {
  Prompt* p = g_current.load();
  return p ? *p : DefaultPrompt();
}

Prompt* SetCurrentPrompt(Prompt* prompt) { return g_current.exchange(prompt); }

PromptAnswer ShowComponentMessage(std::string_view text, PromptIcon icon, PromptButtons buttons) {
  return CurrentPrompt().MessageBox(kComponentCaption, text, icon, buttons);
}

ScriptedPrompt::ScriptedPrompt()
    : defaults_{{PromptButtons::Ok, PromptAnswer::Ok},
                {PromptButtons::OkCancel, PromptAnswer::Cancel},
                {PromptButtons::YesNo, PromptAnswer::No},
                {PromptButtons::YesNoCancel, PromptAnswer::Cancel}} {}

void ScriptedPrompt::SetDefaultAnswer(PromptButtons buttons, PromptAnswer answer) {
  if (IsOffered(buttons, answer)) defaults_[buttons] = answer;
}

PromptAnswer ScriptedPrompt::MessageBox(std::string_view caption, std::string_view text,
                                        PromptIcon icon, PromptButtons buttons) {
  PromptAnswer answer = defaults_[buttons];
  if (!answers_.empty()) {
    const PromptAnswer queued = answers_.front();
    answers_.pop_front();
    if (IsOffered(buttons, queued)) answer = queued;
  }
  if (echo_) Echo(caption, text, ToString(icon));
  if (record_) {
    Call call;
    call.kind = Kind::Message;
    call.caption = caption;
    call.text = text;
    call.icon = icon;
    call.buttons = buttons;
    call.answer = answer;
    calls_.push_back(std::move(call));
  }
  return answer;
}

std::optional<std::string> ScriptedPrompt::AskText(std::string_view caption,
                                                   std::string_view label,
                                                   std::string_view initial, bool password,
                                                   int maxLength) {
  std::optional<std::string> reply = defaultReply_;
  if (!replies_.empty()) {
    reply = std::move(replies_.front());
    replies_.pop_front();
  }
  if (reply) reply = CutToCharacters(std::move(*reply), maxLength);
  if (echo_) Echo(caption, label, "text");
  if (record_) {
    Call call;
    call.kind = Kind::Text;
    call.caption = caption;
    call.text = label;
    call.initial = initial;
    call.password = password;
    call.maxLength = maxLength;
    call.reply = reply;
    calls_.push_back(std::move(call));
  }
  return reply;
}

std::optional<std::uint32_t> ScriptedPrompt::AskColor(std::string_view caption,
                                                      std::uint32_t initial) {
  std::optional<std::uint32_t> color;
  if (!colors_.empty()) {
    color = colors_.front();
    colors_.pop_front();
  }
  if (echo_) Echo(caption, "", "colour");
  if (record_) {
    Call call;
    call.kind = Kind::Color;
    call.caption = caption;
    call.initialColor = initial;
    call.color = color;
    calls_.push_back(std::move(call));
  }
  return color;
}

const char* ToString(PromptIcon icon) {
  switch (icon) {
    case PromptIcon::Information: return "information";
    case PromptIcon::Warning: return "warning";
    case PromptIcon::Error: return "error";
    case PromptIcon::Question: return "question";
  }
  return "?";
}

const char* ToString(PromptButtons buttons) {
  switch (buttons) {
    case PromptButtons::Ok: return "ok";
    case PromptButtons::OkCancel: return "ok/cancel";
    case PromptButtons::YesNo: return "yes/no";
    case PromptButtons::YesNoCancel: return "yes/no/cancel";
  }
  return "?";
}

const char* ToString(PromptAnswer answer) {
  switch (answer) {
    case PromptAnswer::Ok: return "ok";
    case PromptAnswer::Cancel: return "cancel";
    case PromptAnswer::Yes: return "yes";
    case PromptAnswer::No: return "no";
  }
  return "?";
}

}  // namespace mirel
