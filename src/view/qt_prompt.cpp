#include "view/qt_prompt.h"

#include "surface/colorref.h"

#include <QColorDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>

namespace mirel {
namespace {

QString FromUtf8(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QMessageBox::Icon ToQt(PromptIcon icon) {
  switch (icon) {
    case PromptIcon::Information: return QMessageBox::Information;
    case PromptIcon::Warning: return QMessageBox::Warning;
    case PromptIcon::Error: return QMessageBox::Critical;
    case PromptIcon::Question: return QMessageBox::Question;
  }
  return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons ToQt(PromptButtons buttons) {
  switch (buttons) {
    case PromptButtons::Ok: return QMessageBox::Ok;
    case PromptButtons::OkCancel: return QMessageBox::Ok | QMessageBox::Cancel;
    case PromptButtons::YesNo: return QMessageBox::Yes | QMessageBox::No;
    case PromptButtons::YesNoCancel: return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
  }
  return QMessageBox::Ok;
}

// Answer of a box closed without a button (Escape, window close).
PromptAnswer Dismissed(PromptButtons buttons) {
  switch (buttons) {
    case PromptButtons::Ok: return PromptAnswer::Ok;
    case PromptButtons::YesNo: return PromptAnswer::No;
    default: return PromptAnswer::Cancel;
  }
}

}  // namespace

PromptAnswer QtPrompt::MessageBox(std::string_view caption, std::string_view text,
                                  PromptIcon icon, PromptButtons buttons) {
  QMessageBox box(ToQt(icon), FromUtf8(caption), FromUtf8(text), ToQt(buttons), parent_);
  box.setWindowModality(Qt::ApplicationModal);
  // As on the original platform the first button is the default one.
  box.setDefaultButton(buttons == PromptButtons::YesNo || buttons == PromptButtons::YesNoCancel
                           ? QMessageBox::Yes
                           : QMessageBox::Ok);
  if (buttons == PromptButtons::YesNo) box.setEscapeButton(QMessageBox::No);
  box.exec();
  switch (box.standardButton(box.clickedButton())) {
    case QMessageBox::Ok: return PromptAnswer::Ok;
    case QMessageBox::Cancel: return PromptAnswer::Cancel;
    case QMessageBox::Yes: return PromptAnswer::Yes;
    case QMessageBox::No: return PromptAnswer::No;
    default: return Dismissed(buttons);
  }
}

std::optional<std::string> QtPrompt::AskText(std::string_view caption, std::string_view label,
                                             std::string_view initial, bool password,
                                             int maxLength) {
  QInputDialog dialog(parent_);
  dialog.setWindowModality(Qt::ApplicationModal);
  dialog.setInputMode(QInputDialog::TextInput);
  dialog.setWindowTitle(FromUtf8(caption));
  dialog.setLabelText(FromUtf8(label));
  dialog.setTextEchoMode(password ? QLineEdit::Password : QLineEdit::Normal);
  if (QLineEdit* edit = dialog.findChild<QLineEdit*>(); edit && maxLength > 0) {
    edit->setMaxLength(maxLength);
  }
  dialog.setTextValue(FromUtf8(initial));
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  QString value = dialog.textValue();
  if (maxLength > 0 && value.size() > maxLength) value.truncate(maxLength);
  return value.toStdString();
}

std::optional<std::uint32_t> QtPrompt::AskColor(std::string_view caption,
                                                std::uint32_t initial) {
  const QColor chosen = QColorDialog::getColor(toQColor(initial), parent_, FromUtf8(caption));
  if (!chosen.isValid()) return std::nullopt;
  return fromQColor(chosen);
}

}  // namespace mirel
