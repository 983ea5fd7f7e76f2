// Fresh copies of the built template account files for tests.
#pragma once

#include <QString>

class QTemporaryDir;

// Copies the template called name (e.g. "家庭账本") into dir as fileName
// (".fz" added) and makes the copy writable; its path, or empty text (with
// a test failure) when the copy could not be made.
QString CopyTemplate(const QTemporaryDir &dir, const QString &name,
                     const QString &fileName);
