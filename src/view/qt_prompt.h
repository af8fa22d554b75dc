// The prompt interface shown with Qt dialogs, for the program.
#pragma once

#include <QPointer>
#include <QWidget>

#include "platform/prompt.h"

namespace mirel {

// Message boxes and text entries as application-modal Qt dialogs (the
// task-modal boxes of the component), centred on `parent` when it is set.
class QtPrompt : public Prompt {
 public:
  explicit QtPrompt(QWidget* parent = nullptr) : parent_(parent) {}

  void SetParent(QWidget* parent) { parent_ = parent; }

  PromptAnswer MessageBox(std::string_view caption, std::string_view text, PromptIcon icon,
                          PromptButtons buttons) override;
  std::optional<std::string> AskText(std::string_view caption, std::string_view label,
                                     std::string_view initial, bool password,
                                     int maxLength) override;
  std::optional<std::uint32_t> AskColor(std::string_view caption, std::uint32_t initial) override;

 private:
  QPointer<QWidget> parent_;
};

}  // namespace mirel
