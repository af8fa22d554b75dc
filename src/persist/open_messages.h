#pragma once
// Message texts of opening, saving and importing documents (UTF-8) that have
// no number in the string table. Numbered ones (41550, 41723, 61697 …) come
// from Message().
#include <string_view>

namespace mirel::open_msg {

// Texts the program has always shown.
inline constexpr std::string_view kSaveModified = "文档已修改，是否保存？";
inline constexpr std::string_view kCopyTempFailed = "复制临时文件失败！";

// The file dialogs.
inline constexpr std::string_view kOpenFilter = "Qoda办公组件文件(*.qwd)|*.qwd|Mirel文件(*.mrl)|*.mrl|Word文件(*.doc)|*.doc|"
                                                "RTF文件(*.rtf)|*.rtf|文本文件(*.txt)|*.txt||";
inline constexpr std::string_view kSaveDefaultExtension = "qwd|mrl";
inline constexpr std::string_view kOpenCaption = "打开";
inline constexpr std::string_view kSaveCaption = "另存为";
inline constexpr std::string_view kFileNameLabel = "文件名:";

// Refusals the open now explains instead of failing silently.
inline constexpr std::string_view kUnknownKind = "不能打开这种类型的文件：%1";
inline constexpr std::string_view kNoRtfReader = "暂不能导入RTF文件：%1";
inline constexpr std::string_view kNoXmlReader = "暂不能打开XML文档：%1";
inline constexpr std::string_view kFileTooLarge = "文件太大，不能打开：%1";
inline constexpr std::string_view kTextTooLarge = "文本文件太大，不能导入：%1";
inline constexpr std::string_view kNotAFile = "不是文件：%1";

}  // namespace mirel::open_msg
