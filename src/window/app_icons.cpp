// Theme icon names and their fallbacks.
#include "window/app_icons.h"

#include <QApplication>
#include <QStyle>

namespace {

struct IconSource {
  const char *themeName;
  const char *bundled;             // resource path, or null
  QStyle::StandardPixmap standard; // used when there is no bundled one
};

IconSource SourceOf(AppIconKind kind) {
  switch (kind) {
  case AppIconKind::Program:
    return {"sorvanel", ":/sorvanel/icons/sorvanel.svg", QStyle::SP_FileIcon};
  case AppIconKind::New:
    return {"document-new", nullptr, QStyle::SP_FileIcon};
  case AppIconKind::Open:
    return {"document-open", nullptr, QStyle::SP_DialogOpenButton};
  case AppIconKind::Save:
    return {"document-save", nullptr, QStyle::SP_DialogSaveButton};
  case AppIconKind::SaveAs:
    return {"document-save-as", nullptr, QStyle::SP_DialogSaveButton};
  case AppIconKind::Cut:
    return {"edit-cut", ":/sorvanel/icons/cut.svg", QStyle::SP_FileIcon};
  case AppIconKind::Copy:
    return {"edit-copy", ":/sorvanel/icons/copy.svg", QStyle::SP_FileIcon};
  case AppIconKind::Paste:
    return {"edit-paste", ":/sorvanel/icons/paste.svg", QStyle::SP_FileIcon};
  case AppIconKind::Delete:
    return {"edit-delete", nullptr, QStyle::SP_TrashIcon};
  case AppIconKind::Undo:
    return {"edit-undo", nullptr, QStyle::SP_ArrowBack};
  case AppIconKind::Redo:
    return {"edit-redo", nullptr, QStyle::SP_ArrowForward};
  case AppIconKind::Find:
    return {"edit-find", ":/sorvanel/icons/find.svg", QStyle::SP_FileIcon};
  case AppIconKind::Refresh:
    return {"view-refresh", nullptr, QStyle::SP_BrowserReload};
  case AppIconKind::Print:
    return {"document-print", ":/sorvanel/icons/print.svg",
            QStyle::SP_FileIcon};
  case AppIconKind::About:
    return {"help-about", nullptr, QStyle::SP_MessageBoxInformation};
  }
  return {"", nullptr, QStyle::SP_FileIcon};
}

} // namespace

// The bundled icons live in a static library, whose resources are
// registered by hand.
static void InitResources() { Q_INIT_RESOURCE(app_icons); }

QIcon AppIcon(AppIconKind kind) {
  static const bool registered = (InitResources(), true);
  (void)registered;
  const IconSource source = SourceOf(kind);
  const QString name = QString::fromLatin1(source.themeName);
  if (kind != AppIconKind::Program && QIcon::hasThemeIcon(name))
    return QIcon::fromTheme(name);
  if (source.bundled)
    return QIcon(QString::fromLatin1(source.bundled));
  return QApplication::style()->standardIcon(source.standard);
}
