#pragma once
// The file dialogs of the program: Qt's, behind the file-dialog interface
// the document code asks through. Install one with SetCurrentFileDialogs.
#include "persist/file_dialogs.h"

#include <QPointer>
#include <QString>
#include <QWidget>

namespace mirel {

// Qt's name filters for a component filter: "位图(*.bmp)|*.bmp||" ->
// "位图(*.bmp) (*.bmp)".
QString QtNameFilters(std::string_view filter);

class QtFileDialogs : public FileDialogs {
public:
    explicit QtFileDialogs(QWidget* parent = nullptr)
        : parent_(parent)
    {
    }
    std::optional<std::string> AskOpenFileName(std::string_view filter) override;
    std::optional<std::string> AskSaveFileName(std::string_view filter, std::string_view defaultExtensions) override;

private:
    QPointer<QWidget> parent_;
};

} // namespace mirel
