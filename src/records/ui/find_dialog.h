// The find dialog of the records page: a small modeless dialog with the
// text to find, whole-word and match-case switches, the direction and the
// buttons 查找下一个 and 取消. It only finds (there is no replace); the
// search downward with letter case counting is preset. Each request goes
// out as findNext; the page passes it to the grid.
#pragma once

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

class CFindDialog : public QDialog {
  Q_OBJECT

public:
  explicit CFindDialog(QWidget *parent = nullptr);

  // The FindFlag bits of the current settings.
  unsigned Flags() const;
  QString FindText() const;

  QLineEdit *TextEdit() const { return text_; }
  QPushButton *FindButton() const { return find_; }

signals:
  void findNext(const QString &text, unsigned flags);

private:
  QLineEdit *text_;
  QCheckBox *wholeWord_;
  QCheckBox *matchCase_;
  QRadioButton *up_;
  QRadioButton *down_;
  QPushButton *find_;
};
