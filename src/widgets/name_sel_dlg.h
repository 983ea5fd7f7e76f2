// The dialog that asks for a template name: an editable list of the names
// already in use, sorted, with "保存" and "取消".
#pragma once

#include <QDialog>
#include <QStringList>

#include <optional>

class QComboBox;
class QPushButton;

class CNameSelDlg : public QDialog {
  Q_OBJECT
public:
  // names are offered in sorted order; start is the text shown first.
  CNameSelDlg(const QStringList &names, const QString &start,
              QWidget *parent = nullptr);

  QString Text() const;
  QComboBox *NameBox() const { return nameBox_; }
  QPushButton *SaveButton() const { return saveButton_; }

  // Shows the dialog modally; the text when "保存" was chosen, else nothing.
  static std::optional<QString> Ask(const QString &title,
                                    const QStringList &names,
                                    const QString &start,
                                    QWidget *parent = nullptr);

private:
  QComboBox *nameBox_;
  QPushButton *saveButton_;
};
