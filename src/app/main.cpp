// lanzhou: the word processor. With --new, --convert-to or --dump it works
// headless; otherwise it opens the main window with the files named.
#include "app/command_line.h"
#include "app/main_window.h"
#include "app/qt_texts.h"
#include "persist/file_dialogs.h"
#include "platform/prompt.h"
#include "view/qt_file_dialogs.h"
#include "view/qt_prompt.h"

#include <QApplication>
#include <QGuiApplication>
#include <cstdlib>
#include <iostream>

namespace {

int RunWindow(int argc, char** argv, const mirel::CommandLine& cmd)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("lanzhou"));
    mirel::InstallChineseQtTexts(app);
    QGuiApplication::setDesktopFileName(QStringLiteral("lanzhou"));
    mirel::MainWindow window;
    mirel::QtPrompt prompt(&window);
    mirel::ScopedPrompt promptScope(prompt);
    mirel::QtFileDialogs dialogs(&window);
    mirel::FileDialogs* previousDialogs = mirel::SetCurrentFileDialogs(&dialogs);
    window.show();
    // In order, so that the last one stays open.
    for (const std::string& file : cmd.files)
        window.OpenDocumentFile(file);
    window.Control()->setFocus();
    const int code = app.exec();
    mirel::SetCurrentFileDialogs(previousDialogs);
    return code;
}

} // namespace

int main(int argc, char** argv)
{
    std::vector<std::string> args(argv + 1, argv + argc);
    const mirel::CommandLine cmd = mirel::ParseCommandLine(args);
    if (cmd.action == mirel::CommandLine::Action::Window)
        return RunWindow(argc, argv, cmd);
    // Headless work still needs QtGui for fonts and images: use the
    // offscreen platform unless one was chosen.
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QGuiApplication app(argc, argv);
    return mirel::RunHeadless(cmd);
}
