// Runs a test inside its own folder.
#include "support/scoped_current_dir.h"

#include <QDir>

ScopedCurrentDir::ScopedCurrentDir(const QString &path)
    : previous_(QDir::currentPath()) {
  QDir::setCurrent(path);
}

ScopedCurrentDir::~ScopedCurrentDir() { QDir::setCurrent(previous_); }
