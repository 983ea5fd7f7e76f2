// How the session compares texts: as Jet does, without regard to letter
// case in any alphabet ("Café" equals "CAFÉ", full-width "ＡＴＭ" equals
// "ａｔｍ"); texts without case, such as Chinese, compare by code point as
// before.
//
// Texts are compared code point by code point after Unicode simple case
// folding (ICU's u_foldCase); ASCII letters take a fast path that gives the
// same order. Text columns are declared COLLATE NOCASE, and every connection
// to an account file replaces SQLite's NOCASE (which folds A-Z only) by this
// comparison, so =, <>, <, >, IN, ORDER BY, GROUP BY, DISTINCT, Min, Max and
// every index on a text column use it. LIKE is replaced too: it matches
// without case and knows Jet's wildcards (* or % any run of characters, ? or
// _ one character, [abc], [a-z] and [!a-z] one character of a set).
//
// A file whose indexes were built under SQLite's own NOCASE is reindexed
// once, the first time a session opens it; bit 0 of the database header's
// user_version records that its text indexes are in folded order. Other
// tools that open an account file without this comparison (the sqlite3
// shell) read it fine but may see text indexes holding non-ASCII letters as
// out of order.
#pragma once

#include <sqlite3.h>

// <0, 0 or >0 as the UTF-8 text a sorts before, with or after b.
int CompareJetText(const char *a, int aBytes, const char *b, int bBytes);

// Jet's LIKE: whether text matches pattern; escape (0 for none) makes the
// character after it stand for itself.
bool JetLikeMatch(const char *pattern, int patternBytes, const char *text,
                  int textBytes, int escape);

// Replaces NOCASE and like() on db by the comparisons above. Every
// connection that reads or writes an account file calls this first.
void RegisterJetCollation(sqlite3 *db);

// Rebuilds the indexes of db that use NOCASE unless the file says they are
// already in folded order, and records that they are, as one unit of work.
// False (and the file unchanged) when the rebuild fails, for example when a
// unique index holds two texts that differ only in case; the file stays
// usable then and the rebuild is tried again on the next open.
bool EnsureFoldedTextOrder(sqlite3 *db);

// Whether the file says its text indexes are in folded order already, so
// that EnsureFoldedTextOrder would not write.
bool HasFoldedTextOrder(sqlite3 *db);

// Records that the indexes of a file just built on a connection with
// RegisterJetCollation are in folded order (the template builder).
bool MarkFoldedTextOrder(sqlite3 *db);
