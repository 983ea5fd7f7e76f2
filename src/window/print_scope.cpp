// What printed pages say about a window; see print_scope.h.
#include "window/print_scope.h"

#include "analysis/chart_set_up.h"
#include "document/account_file.h"
#include "document/file_main_show_text.h"
#include "groups/group_tree.h"
#include "groups/group_where.h"
#include "window/document_window.h"

#include <QFileInfo>
#include <QStringList>

QString WindowScopeWhere(const DocumentWindow &window) {
  QString filter;
  if (!window.FilterWhere(filter))
    filter = NoRecordsWhere();
  return CombineWhere(GroupIdsWhere(window.ActiveGroupIds()), filter);
}

QString ScopeText(const DocumentWindow &window, bool groups, bool filter) {
  QString text = QStringLiteral("范围：");
  AccountFile *file = window.File();
  if (groups && file) {
    QStringList titles;
    for (int id : window.ActiveGroupIds())
      if (const GroupNode *node = FindGroupNode(file->Root(), id))
        titles.append(node->title);
    text += titles.isEmpty() ? QStringLiteral("没有活动分组")
                             : QStringLiteral("分组 ") + titles.join(QStringLiteral("、"));
  } else {
    text += QStringLiteral("所有分组");
  }
  QString where;
  if (filter && (!window.FilterWhere(where) || !where.isEmpty()))
    text += QStringLiteral("；已筛选");
  return text;
}

PageFrame WindowPageFrame(const DocumentWindow &window) {
  PageFrame frame;
  frame.printDate = QDate::currentDate();
  AccountFile *file = window.File();
  if (!file)
    return frame;
  frame.fileName = QFileInfo(file->Path()).fileName();
  if (file->IsOpen())
    frame.message = ComposeMainShowText(*file, WindowScopeWhere(window));
  return frame;
}
