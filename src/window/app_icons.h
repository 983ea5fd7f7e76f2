// The icons of the program's commands: the desktop theme's icon where the
// theme has one, else a bundled or a style-provided one, so that every
// button has a picture on every desktop.
#pragma once

#include <QIcon>

enum class AppIconKind {
  Program, New, Open, Save, SaveAs, Cut, Copy, Paste, Delete, Undo, Redo,
  Find, Refresh, Print, About,
};

QIcon AppIcon(AppIconKind kind);
