// The prompt of the desktop program: modal message boxes titled "Sorvanel"
// with Chinese buttons. "\r\n" in a text is a line break.
#pragma once

#include "base/prompt.h"

class QWidget;

class MessageBoxPrompt : public Prompt {
public:
  // Boxes are centred over parent (or the active window when null).
  explicit MessageBoxPrompt(QWidget *parent = nullptr) : parent_(parent) {}

  void Message(const QString &text) override;
  bool AskYesNo(const QString &text) override;
  int AskChoice(const QString &text, const QStringList &buttons) override;
  // Shows the template name dialog (CNameSelDlg).
  std::optional<QString> AskText(const QString &title, const QStringList &names,
                                 const QString &start) override;
  int AskWarning(const QString &title, const QString &text,
                 const QStringList &buttons, int defaultButton) override;

private:
  QWidget *Owner() const;

  QWidget *parent_;
};
