// The session factory.
#include "db/db_visiter_factory.h"

#include "base/prompt.h"
#include "db/access_visiter.h"

namespace {

std::unique_ptr<CDBVisiter> CreateAccessVisiter(const QString &path,
                                                CAccessVisiter::Access access) {
  auto session = std::make_unique<CAccessVisiter>(path, access);
  if (!session->Open())
    return nullptr;
  return session;
}

} // namespace

CDBVisiterFactory &CDBVisiterFactory::Instance() {
  static CDBVisiterFactory factory;
  return factory;
}

// Registering here rather than from a static object in another file keeps
// type 0 present whatever the order of static initialisation, and even when
// the linker drops objects nobody references.
CDBVisiterFactory::CDBVisiterFactory() {
  RegisterType(kWritingSession, [](const QString &path) {
    return CreateAccessVisiter(path, CAccessVisiter::ReadWrite);
  });
  RegisterType(kReadingSession, [](const QString &path) {
    return CreateAccessVisiter(path, CAccessVisiter::ReadOnly);
  });
}

CDBVisiterFactory::~CDBVisiterFactory() { DestroyAll(); }

int CDBVisiterFactory::RegisterType(int type, Creator creator) {
  if (creator && !creators_.count(type))
    creators_.emplace(type, std::move(creator));
  return int(creators_.size());
}

CDBVisiter *CDBVisiterFactory::GetVisiter(const QString &path) {
  return GetVisiter(0, path);
}

CDBVisiter *CDBVisiterFactory::GetVisiter(int type, const QString &path) {
  const auto key = std::make_pair(type, path);
  if (auto found = sessions_.find(key); found != sessions_.end())
    return found->second.get();
  const auto creator = creators_.find(type);
  if (creator == creators_.end()) {
    ShowMessage(QStringLiteral("无此数据库类型！"));
    return nullptr;
  }
  std::unique_ptr<CDBVisiter> session = creator->second(path);
  if (!session) {
    ShowMessage(QStringLiteral("初始化数据库连接失败！"));
    return nullptr;
  }
  CDBVisiter *result = session.get();
  sessions_.emplace(key, std::move(session));
  return result;
}

void CDBVisiterFactory::RemoveVisiter(const QString &path) {
  for (auto it = sessions_.begin(); it != sessions_.end();)
    it = it->first.second == path ? sessions_.erase(it) : std::next(it);
}

void CDBVisiterFactory::DestroyAll() {
  // Take the sessions out first: a session's destructor must not find
  // itself still listed.
  auto sessions = std::move(sessions_);
  sessions_.clear();
  sessions.clear();
}
