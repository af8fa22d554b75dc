#include "platform/prompt.h"

#include <gtest/gtest.h>

#include "platform/messages.h"

namespace mirel {
namespace {

TEST(ScriptedPrompt, RecordsEveryCallAndAnswersFromTheQueue) {
  ScriptedPrompt prompt;
  prompt.QueueAnswer(PromptAnswer::Yes);
  prompt.QueueAnswer(PromptAnswer::Ok);

  EXPECT_EQ(prompt.MessageBox("办公组件", "文档已修改，是否保存？", PromptIcon::Question,
                              PromptButtons::YesNoCancel),
            PromptAnswer::Yes);
  EXPECT_EQ(prompt.MessageBox("Cap", "second", PromptIcon::Error, PromptButtons::OkCancel),
            PromptAnswer::Ok);
  // Queue empty: defaults.
  EXPECT_EQ(prompt.MessageBox("Cap", "3", PromptIcon::Warning, PromptButtons::Ok), PromptAnswer::Ok);
  EXPECT_EQ(prompt.MessageBox("Cap", "4", PromptIcon::Question, PromptButtons::OkCancel),
            PromptAnswer::Cancel);
  EXPECT_EQ(prompt.MessageBox("Cap", "5", PromptIcon::Question, PromptButtons::YesNo),
            PromptAnswer::No);
  EXPECT_EQ(prompt.MessageBox("Cap", "6", PromptIcon::Question, PromptButtons::YesNoCancel),
            PromptAnswer::Cancel);

  const auto& calls = prompt.Calls();
  ASSERT_EQ(calls.size(), 6u);
  EXPECT_EQ(calls[0].caption, "办公组件");
  EXPECT_EQ(calls[0].text, "文档已修改，是否保存？");
  EXPECT_EQ(calls[0].icon, PromptIcon::Question);
  EXPECT_EQ(calls[0].buttons, PromptButtons::YesNoCancel);
  EXPECT_EQ(calls[0].answer, PromptAnswer::Yes);
  EXPECT_EQ(calls[1].icon, PromptIcon::Error);
  EXPECT_EQ(calls[1].answer, PromptAnswer::Ok);
  EXPECT_EQ(calls[4].answer, PromptAnswer::No);
  EXPECT_EQ(prompt.PendingAnswers(), 0u);
}

TEST(ScriptedPrompt, AnswerNotOfferedFallsBackToTheDefault) {
  ScriptedPrompt prompt;
  prompt.QueueAnswer(PromptAnswer::Yes);  // not on an OK/Cancel box
  EXPECT_EQ(prompt.MessageBox("c", "t", PromptIcon::Question, PromptButtons::OkCancel),
            PromptAnswer::Cancel);
  prompt.SetDefaultAnswer(PromptButtons::YesNo, PromptAnswer::Yes);
  prompt.SetDefaultAnswer(PromptButtons::Ok, PromptAnswer::No);  // ignored: not offered
  EXPECT_EQ(prompt.MessageBox("c", "t", PromptIcon::Question, PromptButtons::YesNo),
            PromptAnswer::Yes);
  EXPECT_EQ(prompt.MessageBox("c", "t", PromptIcon::Information, PromptButtons::Ok),
            PromptAnswer::Ok);
}

TEST(ScriptedPrompt, TextEntries) {
  ScriptedPrompt prompt;
  prompt.QueueText("秘密密码12345");
  prompt.QueueText(std::nullopt);
  auto first = prompt.AskText("文件密码", "密码:", "init", true, 6);
  ASSERT_TRUE(first.has_value());
  EXPECT_EQ(*first, "秘密密码12");  // cut to 6 characters, not bytes
  EXPECT_FALSE(prompt.AskText("c", "l", "", false, 0).has_value());
  EXPECT_FALSE(prompt.AskText("c", "l", "", false, 0).has_value());  // default: cancel
  prompt.SetDefaultText("默认");
  EXPECT_EQ(prompt.AskText("c", "l", "", false, 0), std::optional<std::string>("默认"));

  const auto& calls = prompt.Calls();
  ASSERT_EQ(calls.size(), 4u);
  EXPECT_EQ(calls[0].kind, ScriptedPrompt::Kind::Text);
  EXPECT_EQ(calls[0].caption, "文件密码");
  EXPECT_EQ(calls[0].text, "密码:");
  EXPECT_EQ(calls[0].initial, "init");
  EXPECT_TRUE(calls[0].password);
  EXPECT_EQ(calls[0].maxLength, 6);
  EXPECT_EQ(calls[0].reply, std::optional<std::string>("秘密密码12"));
  EXPECT_FALSE(calls[1].reply.has_value());
}

TEST(ScriptedPrompt, EchoWritesToStandardError) {
  ScriptedPrompt prompt;
  prompt.SetEcho(true);
  prompt.SetRecording(false);
  testing::internal::CaptureStderr();
  prompt.MessageBox("办公组件", Message(61728), PromptIcon::Warning, PromptButtons::Ok);
  const std::string err = testing::internal::GetCapturedStderr();
  EXPECT_NE(err.find("办公组件"), std::string::npos);
  EXPECT_NE(err.find("非预期的文件格式。"), std::string::npos);
  EXPECT_NE(err.find("warning"), std::string::npos);
  EXPECT_TRUE(prompt.Calls().empty());
}

TEST(CurrentPrompt, DefaultInstallAndRestore) {
  // The default prompt answers without a user: OK, Cancel, No.
  testing::internal::CaptureStderr();
  EXPECT_EQ(CurrentPrompt().MessageBox("c", "default question", PromptIcon::Question,
                                       PromptButtons::YesNo),
            PromptAnswer::No);
  EXPECT_FALSE(CurrentPrompt().AskText("c", "l", "", false, 0).has_value());
  EXPECT_NE(testing::internal::GetCapturedStderr().find("default question"), std::string::npos);

  ScriptedPrompt mine;
  {
    ScopedPrompt scope(mine);
    EXPECT_EQ(&CurrentPrompt(), &mine);
    mine.QueueAnswer(PromptAnswer::Yes);
    EXPECT_EQ(ShowComponentMessage("问", PromptIcon::Question, PromptButtons::YesNo),
              PromptAnswer::Yes);
    ScriptedPrompt inner;
    EXPECT_EQ(SetCurrentPrompt(&inner), &mine);
    EXPECT_EQ(SetCurrentPrompt(&mine), &inner);
  }
  EXPECT_NE(&CurrentPrompt(), &mine);
  ASSERT_EQ(mine.Calls().size(), 1u);
  EXPECT_EQ(mine.Calls()[0].caption, kComponentCaption);
  EXPECT_EQ(mine.Calls()[0].buttons, PromptButtons::YesNo);
}

}  // namespace
}  // namespace mirel
