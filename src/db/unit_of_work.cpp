// One unit of work in an account file.
#include "db/unit_of_work.h"

#include "db/db_visiter.h"

UnitOfWork::UnitOfWork(CDBVisiter *session)
    : session_(session), open_(session && session->BeginTransaction()) {}

UnitOfWork::~UnitOfWork() { Rollback(); }

bool UnitOfWork::Commit() {
  // Nothing was held back: the statements went to the file, unless the
  // engine dropped the enclosing transaction.
  if (!open_)
    return !session_ || !session_->TransactionLost();
  open_ = false;
  return session_->CommitTransaction();
}

void UnitOfWork::Rollback() {
  if (!open_)
    return;
  open_ = false;
  session_->RollbackTransaction();
}
