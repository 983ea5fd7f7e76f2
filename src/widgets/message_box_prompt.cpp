// Message boxes with the buttons named in Chinese whatever the locale, so
// that every question of the program reads the same.
#include "widgets/message_box_prompt.h"

#include "widgets/name_sel_dlg.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

namespace {

const char *const kTitle = "Sorvanel";

// A button's caption with its key: 是(&Y) and 否(&N) answer from the
// keyboard as Y and N do in every desktop's boxes.
QString Caption(const QString &caption) {
  if (caption == QStringLiteral("是"))
    return QStringLiteral("是(&Y)");
  if (caption == QStringLiteral("否"))
    return QStringLiteral("否(&N)");
  return caption;
}

// Adds the buttons in order; "取消" (or, failing it, "否") answers Escape.
QList<QPushButton *> AddButtons(QMessageBox &box, const QStringList &captions,
                                QMessageBox::ButtonRole role) {
  QList<QPushButton *> shown;
  for (const QString &caption : captions)
    shown.append(box.addButton(Caption(caption), role));
  for (const char *escape : {"取消", "否"})
    if (const qsizetype at = captions.indexOf(QString::fromUtf8(escape)); at >= 0) {
      box.setEscapeButton(shown[at]);
      break;
    }
  return shown;
}

QString BoxText(const QString &text) {
  QString shown = text;
  shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  return shown;
}

} // namespace

QWidget *MessageBoxPrompt::Owner() const {
  return parent_ ? parent_ : QApplication::activeWindow();
}

void MessageBoxPrompt::Message(const QString &text) {
  QMessageBox box(QMessageBox::Warning, QString::fromUtf8(kTitle),
                  BoxText(text), QMessageBox::NoButton, Owner());
  box.addButton(QStringLiteral("确定"), QMessageBox::AcceptRole);
  box.exec();
}

bool MessageBoxPrompt::AskYesNo(const QString &text) {
  QMessageBox box(QMessageBox::Question, QString::fromUtf8(kTitle),
                  BoxText(text), QMessageBox::NoButton, Owner());
  QPushButton *yes = box.addButton(Caption(QStringLiteral("是")), QMessageBox::YesRole);
  QPushButton *no = box.addButton(Caption(QStringLiteral("否")), QMessageBox::NoRole);
  box.setDefaultButton(yes);
  box.setEscapeButton(no);
  box.exec();
  return box.clickedButton() == yes;
}

int MessageBoxPrompt::AskChoice(const QString &text,
                                const QStringList &buttons) {
  QMessageBox box(QMessageBox::Question, QString::fromUtf8(kTitle),
                  BoxText(text), QMessageBox::NoButton, Owner());
  const QList<QPushButton *> shown = AddButtons(box, buttons, QMessageBox::ActionRole);
  box.exec();
  return shown.indexOf(static_cast<QPushButton *>(box.clickedButton()));
}

std::optional<QString> MessageBoxPrompt::AskText(const QString &title,
                                                 const QStringList &names,
                                                 const QString &start) {
  return CNameSelDlg::Ask(title, names, start, Owner());
}

int MessageBoxPrompt::AskWarning(const QString &title, const QString &text,
                                 const QStringList &buttons,
                                 int defaultButton) {
  QMessageBox box(QMessageBox::Warning, title, BoxText(text),
                  QMessageBox::NoButton, Owner());
  const QList<QPushButton *> shown = AddButtons(box, buttons, QMessageBox::ActionRole);
  if (QPushButton *button = shown.value(defaultButton))
    box.setDefaultButton(button);
  box.exec();
  return shown.indexOf(static_cast<QPushButton *>(box.clickedButton()));
}

