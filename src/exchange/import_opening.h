// Opening a statement for import. Its start is read once (statement_file.h)
// to recognise a known bill (bill_recognition.h) or else to detect how the
// statement reads and what its head says, and the same reading gives its
// header and sample lines. Then the mapping is chosen: the one saved for
// the statement's layout (when the file read with that mapping's settings
// has the columns it maps), else the known bill's, else a guess from the
// columns and the sample.
#pragma once

#include "exchange/import_mapping.h"
#include "exchange/opened_statement.h"

#include <QString>
#include <QStringList>

class AccountFile;
class ColumnList;

// Opens the statement at path for an import into file: fills statement and
// mapping (its format included); saved tells whether the mapping was saved
// for the layout. False with a message for the user when the file cannot
// be read or is no statement.
bool OpenStatement(AccountFile &file, const QString &path,
                   OpenedStatement *statement, ImportMapping *mapping,
                   bool *saved, QString *error);

// Reads the header and the sample lines of statement again with format
// (after the format changed).
bool ReadSample(const StatementFormat &format, OpenedStatement *statement,
                QString *error);

// The date forms the sample's dates of the mapped date columns allow (more
// than one: ambiguous).
QStringList DateFormChoices(const ColumnList &columns,
                            const ImportMapping &mapping,
                            const OpenedStatement &statement);

// Sets mapping's date form and decimal separator from the sample lines of
// its mapped columns (after the mapping was changed by hand).
void DetectValueForms(const ColumnList &columns,
                      const OpenedStatement &statement,
                      ImportMapping *mapping);
