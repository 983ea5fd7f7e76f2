// The folder a file dialog opens in: the folder of the account file being
// worked on, else the user's documents folder. Never the current folder,
// which is the program's own work folder and holds nothing of the user's.
#pragma once

#include <QString>

// nearPath is a file (or folder) the dialog is about; empty for none.
QString StartFolder(const QString &nearPath);
