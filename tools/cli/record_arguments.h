// The record and group arguments of the record commands of sorvanel-cli:
// keys and group IDs, the group a new record goes to, and the stored record
// a KEY GROUP pair names. Every refusal is reported through ShowMessage.
#pragma once

#include <QDate>
#include <QString>

class AccountFile;
class CRowItem;
struct GroupNode;

// A whole decimal integer such as a key or a group ID; what names the value
// (e.g. "编号") for the message when text is not one.
bool ParseIntegerArgument(const QString &text, const QString &what,
                          int &value);

// A date written YYYY-MM-DD; what names the value (e.g. "--from") for the
// message when text is not one.
bool ParseDateArgument(const QString &text, const QString &what, QDate &date);

// The group (NodeKind 1) with that ID under root; a missing ID or a folder
// is refused with a message and gives null.
GroupNode *FindRecordGroup(GroupNode &root, int id);
// The first group of the tree in display order (pre-order walk), or null.
GroupNode *FirstRecordGroup(GroupNode &root);

// The stored record of file named by the key and group texts, loaded into
// row; a text that is no integer or a record that does not exist is refused.
bool LoadStoredRecord(AccountFile &file, const QString &keyText,
                      const QString &groupText, CRowItem &row);
