// A statement file whose start is read once; see statement_file.h.
#include "exchange/statement_file.h"

#include <QFile>

bool StatementFile::ReadHead() {
  if (headRead_)
    return headReadable_;
  headRead_ = true;
  QFile file(path_);
  headReadable_ = file.open(QIODevice::ReadOnly);
  if (headReadable_)
    head_ = file.read(kStatementHeadBytes);
  return headReadable_;
}

StatementChunks::StatementChunks(StatementFile &file)
    : source_(file), file_(file.Path()) {}

bool StatementChunks::Open() {
  return source_.HasHead() || file_.open(QIODevice::ReadOnly);
}

bool StatementChunks::Next(QByteArray *chunk) {
  if (source_.HasHead() && !headGiven_) {
    headGiven_ = true;
    *chunk = source_.Head();
    return true;
  }
  // A head shorter than its most is the whole file.
  if (headGiven_ && source_.Head().size() < kStatementHeadBytes) {
    chunk->clear();
    return true;
  }
  if (!file_.isOpen() &&
      !(file_.open(QIODevice::ReadOnly) && file_.seek(source_.Head().size()))) {
    chunk->clear();
    return false;
  }
  *chunk = file_.read(kStatementHeadBytes);
  return true;
}
