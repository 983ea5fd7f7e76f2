// Qt's own texts in Chinese: the buttons and labels of the standard dialogs
// (file dialogs, Qt's questions such as "replace the existing file?"), which
// Qt writes in English unless its translation is loaded.
#pragma once

class QCoreApplication;
class QTranslator;

// Loads Qt's Chinese translation from the program folder's "translations"
// (an installed copy), else from Qt's own translations folder, and installs
// it; the translator (owned by app), or null when neither folder has it:
// the program then runs with Qt's English texts.
QTranslator *InstallQtTranslations(QCoreApplication &app);
