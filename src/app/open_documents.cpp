// Opening, closing and saving the program's documents.
#include "app/open_documents.h"

#include "app/program_paths.h"
#include "app/sorvanel_doc.h"
#include "app/startup_settings.h"
#include "base/prompt.h"
#include "storage/compaction.h"
#include "storage/file_lock.h"

#include <QFileInfo>

OpenDocuments::OpenDocuments(RecentFileList &recent) : recent_(recent) {}

OpenDocuments::~OpenDocuments() = default;

OpenDocuments::Opened OpenDocuments::Open(const QString &path,
                                          const DocStep &listen,
                                          const DocStep &unlisten) {
  if (path.isEmpty())
    return {};
  const QString absolute = QFileInfo(path).absoluteFilePath();
  if (CSorvanelDoc *open = Find(absolute))
    return {open, true};
  auto doc = std::make_unique<CSorvanelDoc>();
  if (listen)
    listen(*doc);
  if (!doc->Open(absolute)) {
    if (unlisten)
      unlisten(*doc);
    return {};
  }
  docs_.push_back(std::move(doc));
  recent_.Add(absolute);
  return {docs_.back().get(), false};
}

void OpenDocuments::Close(CSorvanelDoc *doc) {
  for (auto it = docs_.begin(); it != docs_.end(); ++it) {
    if (it->get() != doc)
      continue;
    std::unique_ptr<CSorvanelDoc> owned = std::move(*it);
    docs_.erase(it);
    owned->Close();
    return;
  }
}

bool OpenDocuments::SaveAs(CSorvanelDoc &doc, const QString &path) {
  if (Find(path) != &doc && RefuseTarget(path))
    return false;
  if (!doc.SaveAs(path))
    return false;
  recent_.Add(doc.Path());
  return true;
}

bool OpenDocuments::CreateFromTemplate(const QString &target,
                                       const QString &templatePath) {
  return !RefuseTarget(target) && ReplaceFile(target, templatePath);
}

bool OpenDocuments::RefuseTarget(const QString &path) const {
  if (Find(path)) {
    ShowMessage(QStringLiteral("文件%1正在使用中，不能覆盖！\r\n请先关闭它或另选文件名。")
                    .arg(QFileInfo(path).fileName()));
    return true;
  }
  // A file another program has open would be replaced under its feet.
  if (QFileInfo(path).isFile()) {
    AccountFileLock probe;
    if (probe.Acquire(path, 0) == AccountFileLock::Busy) {
      ShowMessage(FileBusyMessage());
      return true;
    }
  }
  return false;
}

CSorvanelDoc *OpenDocuments::Find(const QString &path) const {
  const QString canonical = CanonicalPath(path);
  for (const auto &doc : docs_)
    if (doc->CanonicalPath() == canonical)
      return doc.get();
  return nullptr;
}

QList<CSorvanelDoc *> OpenDocuments::All() const {
  QList<CSorvanelDoc *> docs;
  for (const auto &doc : docs_)
    docs.append(doc.get());
  return docs;
}
