#include "view/qt_file_dialogs.h"

#include <QFileDialog>
#include <QStringList>

namespace mirel {

QString QtNameFilters(std::string_view filter)
{
    const QStringList parts = QString::fromUtf8(filter.data(), static_cast<qsizetype>(filter.size())).split('|');
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        if (parts[i].isEmpty())
            break;
        QString patterns = parts[i + 1];
        patterns.replace(';', ' ');
        filters << parts[i] + " (" + patterns + ")";
    }
    return filters.join(";;");
}

std::optional<std::string> QtFileDialogs::AskOpenFileName(std::string_view filter)
{
    const QString name = QFileDialog::getOpenFileName(parent_, {}, {}, QtNameFilters(filter));
    if (name.isEmpty())
        return std::nullopt;
    return name.toStdString();
}

std::optional<std::string> QtFileDialogs::AskSaveFileName(std::string_view filter, std::string_view defaultExtensions)
{
    QFileDialog dialog(parent_, {}, {}, QtNameFilters(filter));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    const std::string_view first = defaultExtensions.substr(0, defaultExtensions.find('|'));
    dialog.setDefaultSuffix(QString::fromUtf8(first.data(), static_cast<qsizetype>(first.size())));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return WithDefaultExtension(dialog.selectedFiles().front().toStdString(), defaultExtensions);
}

} // namespace mirel
