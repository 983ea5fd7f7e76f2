// Qt's own texts in Chinese: the buttons and labels of the standard dialogs
// (file dialogs, Qt's questions such as "replace the existing file?"), which
// Qt writes in English unless its translation is loaded.
#pragma once

class QCoreApplication;
class QTranslator;

// Loads Qt's Chinese translation from the program folder's "translations"
// (an installed copy), else from Qt's own translations folder, and installs
// it; the translator (owned by app), or null when neither folder has it:
// the program then runs with Qt's English texts. Texts Qt's translation
// lacks (the file dialog's "Folder", "File", "Drive") are translated too.
QTranslator *InstallQtTranslations(QCoreApplication &app);

// Makes Chinese the locale of the program's dialogs whatever the session's
// is (C.UTF-8, en_US): the file dialog's sizes, dates and file types follow
// the locale Qt reads from the environment. Call before the application
// object is made; the environment of the program is changed, not the
// session's.
void UseChineseLocale();
