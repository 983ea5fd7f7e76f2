// What printed pages and the yearly statement say about a window: the
// records in its scope (the active groups and the filter), the scope in
// words, and the frame of its pages (file name, main show message, date).
#pragma once

#include "print/page_frame.h"

#include <QString>

class DocumentWindow;

// The combined WHERE text of the active groups and the filter; a filter
// that cannot be built selects no record.
QString WindowScopeWhere(const DocumentWindow &window);

// "范围：分组 日常、旅行；已筛选" and the like: the active groups when
// groups is true (else "所有分组"), and whether the filter narrows them.
QString ScopeText(const DocumentWindow &window, bool groups, bool filter);

// The header and footer texts of the window's printed pages, dated today.
PageFrame WindowPageFrame(const DocumentWindow &window);
