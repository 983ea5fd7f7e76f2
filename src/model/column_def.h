// One column definition: a row of TableStyle in memory.
#pragma once

#include "model/field_type.h"

#include <QString>
#include <QStringList>

struct ColumnDef {
  int id = 0;
  int order = 0;        // 编号: display order
  int width = 0;        // 宽度, pixels
  QString fieldName;    // 字段名: the column's name in Users
  QString title;        // 标题: the caption shown
  QString options;      // 选项: choices separated by "|"
  QString defaultValue; // 默认值: a literal or a formula
  int type = FT_TEXT;   // 数据类型: a FieldType code
  bool enabled = true;  // 启用
  bool readOnly = false; // 只读

  // Raises the width to 40 for the key column and 10 for every other type;
  // done whenever a definition is built.
  void ApplyWidthMinimum();
  // The options text cut at every "|", empty pieces left out.
  QStringList Choices() const;
};

// The choice list of an options text: cut at "|", empty pieces left out.
QStringList SplitChoices(const QString &options);
