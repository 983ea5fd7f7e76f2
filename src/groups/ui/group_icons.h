// The group pane's images, drawn here rather than shipped as files: a book
// for a top-level folder, a closed and an open folder, a group and an
// active group, each 16 by 16 (with a 32 by 32 version for dense screens).
#pragma once

#include "document/group_pane_logic.h"

#include <QIcon>

// The image of that number (GroupImage); an empty icon for any other.
QIcon GroupImageIcon(int image);
// An icon with the normal image, and the selected one for selected items.
QIcon GroupItemIcon(const GroupImages &images);
