// Writes screenshots of the main window with a document: normal size and
// maximised, as PNG files into the folder given (used for the read-me).
//   lanzhou_screenshot DOCUMENT OUTDIR
#include "app/main_window.h"

#include <QApplication>
#include <QPixmap>
#include <QScreen>
#include <QTest>
#include <iostream>

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::cerr << "usage: lanzhou_screenshot DOCUMENT OUTDIR\n";
        return 2;
    }
    QApplication app(argc, argv);
    mirel::MainWindow window;
    window.resize(1000, 680);
    window.show();
    if (!window.OpenDocumentFile(argv[1])) {
        std::cerr << "cannot open " << argv[1] << "\n";
        return 1;
    }
    QTest::qWait(300);
    const QString out = QString::fromLocal8Bit(argv[2]);
    bool ok = window.grab().save(out + QStringLiteral("/main-window.png"));
    // Without a window manager "maximised" is the screen's available area.
    window.showMaximized();
    window.setGeometry(window.screen()->availableGeometry());
    QTest::qWait(500);
    ok = window.grab().save(out + QStringLiteral("/main-window-maximised.png")) && ok;
    return ok ? 0 : 1;
}
