// A window with the component's frame and a document in it, for looking at
// the view by hand until the main window exists.
//   view_frame_window [FILE.qwd] [--zoom PERCENT] [--grab OUT.png]
// Without a file it shows a small sample document.
#include "platform/prompt.h"
#include "view/page_grid.h"
#include "view/qt_file_dialogs.h"
#include "view/qt_prompt.h"
#include "view/sample_document.h"

#include <QApplication>
#include <QTimer>
#include <cstdio>
#include <string>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    std::string file, grab;
    int zoom = 0;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--grab" && i + 1 < argc)
            grab = argv[++i];
        else if (arg == "--zoom" && i + 1 < argc)
            zoom = std::atoi(argv[++i]);
        else
            file = arg;
    }
    COFrame frame;
    mirel::QtPrompt prompt(&frame);
    mirel::ScopedPrompt scope(prompt);
    mirel::QtFileDialogs dialogs(&frame);
    mirel::SetCurrentFileDialogs(&dialogs);
    frame.setWindowTitle(QStringLiteral("岚舟文字 — 视图"));
    frame.resize(1000, 760);
    if (file.empty())
        mirel::test::FillSampleDocument(frame);
    else if (!frame.OpenDocument(file))
        return 1;
    frame.show();
    if (zoom > 0)
        frame.ActiveView()->SetZoom(mirel::kZoomPercent, zoom);
    if (!grab.empty()) {
        QTimer::singleShot(0, &frame, [&] {
            const bool ok = frame.grab().toImage().save(QString::fromStdString(grab), "PNG");
            std::fprintf(stderr, ok ? "wrote %s\n" : "could not write %s\n", grab.c_str());
            app.exit(ok ? 0 : 1);
        });
    }
    return app.exec();
}
