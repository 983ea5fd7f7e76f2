// The user guide: where its HTML lies, which of its pages tells about a page
// of a document window, and opening it in the desktop's browser (帮助 →
// 使用说明, F1).
#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>

// The folders the guide is looked for in, in this order: "guide" beside the
// program (a build folder), the documentation folder of an install under
// the same prefix (<prefix>/lib/sorvanel → <prefix>/share/doc/sorvanel/guide,
// also for a package unpacked anywhere), and /usr/share/doc/sorvanel/guide.
QStringList GuideFolders();
// The first of folders that holds the guide's index.html; empty text when
// none does.
QString FindGuide(const QStringList &folders);
// The guide's page and section for a page kind (CSorvanBaseView::PageKind),
// as "page.html#section"; the start of the guide for any other kind.
QString GuideSection(int pageKind);
// The URL of a section ("page.html#section") of the guide in folder.
QUrl GuideUrl(const QString &folder, const QString &section);
// Opens the guide found in folders at the section of pageKind. Says why in
// Chinese and returns false when the guide is not there or nothing opens it.
bool OpenGuide(int pageKind, const QStringList &folders = GuideFolders());
