// A document window for pane tests: a fresh copy of a template account file,
// opened in a folder of its own, with every hint the file sends recorded.
#pragma once

#include "window/document_window.h"
#include "document/account_file.h"
#include "support/scoped_current_dir.h"

#include <QList>
#include <QTemporaryDir>

class PaneTestWindow : public DocumentWindow, public AccountFileListener {
public:
  // Opens a copy of the template called name (e.g. "家庭账本"); Valid()
  // tells whether that worked.
  explicit PaneTestWindow(const QString &name = QStringLiteral("家庭账本"));
  ~PaneTestWindow() override;

  bool Valid() const { return valid_; }
  AccountFile &Account() { return file_; }

  AccountFile *File() const override { return &file_; }
  QList<int> ActiveGroupIds() const override { return {}; }
  bool FilterWhere(QString &where) const override {
    where.clear();
    return true;
  }

  // Every hint sent since the last TakeHints.
  QList<unsigned> TakeHints();
  void Notify(AccountFile &file, unsigned hint) override;

private:
  QTemporaryDir dir_;
  ScopedCurrentDir inDir_{dir_.path()};
  mutable AccountFile file_;
  QList<unsigned> hints_;
  bool valid_ = false;
};
