#pragma once
// The program speaks Chinese: Qt's own buttons and dialogs too ("确定",
// "取消", "是", "否" in every message box, the colour and file dialogs).
class QCoreApplication;

namespace mirel {

// Loads Qt's Chinese texts (qtbase_zh_CN, from Qt's translations folder)
// into the application; false when they are not installed, and Qt's English
// texts stay.
bool InstallChineseQtTexts(QCoreApplication& app);

} // namespace mirel
