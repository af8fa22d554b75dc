#pragma once
// Message texts of remote transfer and Word conversion (UTF-8).
// Kept here until they are routed through the shared string table.

#include <string_view>

namespace mirel::remote_msg {

// Texts the program has always shown.
inline constexpr std::string_view kFileNotFound = "文件不存在！";
inline constexpr std::string_view kBadFileName = "文件名称错误！";
inline constexpr std::string_view kCannotOpenAddress = "文件打不开或不存在！";
inline constexpr std::string_view kNoServer = "没指定服务器IP地址。";
inline constexpr std::string_view kConnectFailed = "连接出错。";
inline constexpr std::string_view kOpenFileFailed = "打开文件失败。";
inline constexpr std::string_view kWordServiceFailed = "创建Word服务失败!";

// Texts for failures the transfer now detects on its own.
inline constexpr std::string_view kRefusedAddress = "不支持的地址类型！";
inline constexpr std::string_view kTooLarge = "文件太大，已停止传输！";
inline constexpr std::string_view kTimedOut = "连接超时。";
inline constexpr std::string_view kCancelled = "传输已取消。";
inline constexpr std::string_view kLoginFailed = "用户名或密码错误，连接出错。";
inline constexpr std::string_view kUploadFailed = "上传文件失败。";
inline constexpr std::string_view kDeleteFailed = "删除文件失败。";
inline constexpr std::string_view kLocalFileFailed = "写临时文件失败！";
inline constexpr std::string_view kWordConvertFailed = "Word文件转换失败！";

}  // namespace mirel::remote_msg
