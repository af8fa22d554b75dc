// The prompt interface: how the core asks the user something or tells them
// something, without knowing about widgets.
//
// All strings at this interface are UTF-8 (message texts come from the
// string table in UTF-8; convert GBK document text with gbk.h first).
// The program installs a Qt implementation; tests and the command-line
// converter use ScriptedPrompt.
#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace mirel {

enum class PromptIcon { Information, Warning, Error /* stop */, Question };
enum class PromptButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class PromptAnswer { Ok, Cancel, Yes, No };

// True when `answer` is one of the buttons of `buttons`.
bool IsOffered(PromptButtons buttons, PromptAnswer answer);

class Prompt {
 public:
  virtual ~Prompt() = default;

  // A task-modal message box; returns the button chosen.
  virtual PromptAnswer MessageBox(std::string_view caption, std::string_view text,
                                  PromptIcon icon, PromptButtons buttons) = 0;

  // A one-line text entry. `maxLength` counts characters; 0 or less means
  // no limit. Returns nothing when the user cancels.
  virtual std::optional<std::string> AskText(std::string_view caption, std::string_view label,
                                             std::string_view initial, bool password,
                                             int maxLength) = 0;

  // A colour chooser. Colours are 0x00BBGGRR, as documents keep them.
  // Returns nothing when the user cancels.
  virtual std::optional<std::uint32_t> AskColor(std::string_view caption,
                                                std::uint32_t initial) = 0;
};

// The process-wide prompt. Until one is installed this is a ScriptedPrompt
// that writes every message to standard error and answers with its
// defaults (OK, Cancel, No).
Prompt& CurrentPrompt();
// Installs `prompt` (not owned; nullptr restores the default) and returns
// the previous one, or nullptr when the default was current.
Prompt* SetCurrentPrompt(Prompt* prompt);

// Installs a prompt for the life of a scope.
class ScopedPrompt {
 public:
  explicit ScopedPrompt(Prompt& prompt) : previous_(SetCurrentPrompt(&prompt)) {}
  ~ScopedPrompt() { SetCurrentPrompt(previous_); }
  ScopedPrompt(const ScopedPrompt&) = delete;
  ScopedPrompt& operator=(const ScopedPrompt&) = delete;

 private:
  Prompt* previous_;
};

// A message box of the component on the current prompt: caption "办公组件".
PromptAnswer ShowComponentMessage(std::string_view text, PromptIcon icon,
                                  PromptButtons buttons = PromptButtons::Ok);

// Answers from a script and records every call.
class ScriptedPrompt : public Prompt {
 public:
  enum class Kind { Message, Text, Color };
  struct Call {
    Kind kind = Kind::Message;
    std::string caption;
    std::string text;  // message text, or the label of a text entry
    PromptIcon icon = PromptIcon::Information;
    PromptButtons buttons = PromptButtons::Ok;
    std::string initial;  // text entries only
    bool password = false;
    int maxLength = 0;
    PromptAnswer answer = PromptAnswer::Ok;  // message boxes: the answer given
    std::optional<std::string> reply;        // text entries: the reply given
    std::uint32_t initialColor = 0;          // colour choosers: the colour offered
    std::optional<std::uint32_t> color;      // colour choosers: the colour given
  };

  ScriptedPrompt();

  PromptAnswer MessageBox(std::string_view caption, std::string_view text, PromptIcon icon,
                          PromptButtons buttons) override;
  std::optional<std::string> AskText(std::string_view caption, std::string_view label,
                                     std::string_view initial, bool password,
                                     int maxLength) override;
  std::optional<std::uint32_t> AskColor(std::string_view caption, std::uint32_t initial) override;

  // Queued answers are used in order. An answer that the box does not offer
  // (Yes for an OK/Cancel box) is not used; the box gets its default.
  void QueueAnswer(PromptAnswer answer) { answers_.push_back(answer); }
  // Queued replies for text entries; nullopt stands for Cancel. A reply
  // longer than the entry's maxLength is cut, as the real entry would.
  void QueueText(std::optional<std::string> reply) { replies_.push_back(std::move(reply)); }
  // Queued colours for colour choosers; nullopt stands for Cancel. With
  // none queued the chooser is cancelled.
  void QueueColor(std::optional<std::uint32_t> color) { colors_.push_back(color); }

  // Answer given when the queue is empty. Defaults: OK for Ok, Cancel for
  // OkCancel and YesNoCancel, No for YesNo.
  void SetDefaultAnswer(PromptButtons buttons, PromptAnswer answer);
  // Reply given to a text entry when the queue is empty (default: Cancel).
  void SetDefaultText(std::optional<std::string> reply) { defaultReply_ = std::move(reply); }

  // Writes every message (and text question) to standard error.
  void SetEcho(bool echo) { echo_ = echo; }
  // Keeps calls in Calls() (on by default).
  void SetRecording(bool record) { record_ = record; }

  const std::vector<Call>& Calls() const { return calls_; }
  void ClearCalls() { calls_.clear(); }
  std::size_t PendingAnswers() const {
    return answers_.size() + replies_.size() + colors_.size();
  }

 private:
  std::deque<PromptAnswer> answers_;
  std::deque<std::optional<std::string>> replies_;
  std::deque<std::optional<std::uint32_t>> colors_;
  std::map<PromptButtons, PromptAnswer> defaults_;
  std::optional<std::string> defaultReply_;
  std::vector<Call> calls_;
  bool echo_ = false;
  bool record_ = true;
};

// Texts for the enums (for echoing and test messages).
const char* ToString(PromptIcon icon);
const char* ToString(PromptButtons buttons);
const char* ToString(PromptAnswer answer);

}  // namespace mirel
