// The process-wide cache of database sessions: one session per (database
// type, file path), the path compared as exact, case-sensitive text. Type 0
// is the SQLite session (CAccessVisiter), type 1 the same opened read-only;
// both are registered when the factory is first used, so they are there
// before any caller can ask for them.
#pragma once

#include <QString>

#include <functional>
#include <map>
#include <memory>
#include <utility>

class CDBVisiter;

class CDBVisiterFactory {
public:
  enum SessionType { kWritingSession = 0, kReadingSession = 1 };
  // Makes a new, connected session for a path, or null when the file cannot
  // be connected (the session has shown why).
  using Creator = std::function<std::unique_ptr<CDBVisiter>(const QString &path)>;

  static CDBVisiterFactory &Instance();

  // Registers creator for type unless the type is taken; the number of
  // registered types.
  int RegisterType(int type, Creator creator);

  // The session of (type 0, path), created and connected on first use. When
  // no session can be made, "无此数据库类型！" or "初始化数据库连接失败！" is
  // shown and null returned; the caller decides what follows.
  CDBVisiter *GetVisiter(const QString &path);
  CDBVisiter *GetVisiter(int type, const QString &path);

  // Destroys the sessions of path, whatever their type, closing their
  // connections.
  void RemoveVisiter(const QString &path);
  // Destroys every session.
  void DestroyAll();

  ~CDBVisiterFactory();

private:
  CDBVisiterFactory();
  CDBVisiterFactory(const CDBVisiterFactory &) = delete;
  CDBVisiterFactory &operator=(const CDBVisiterFactory &) = delete;

  std::map<int, Creator> creators_;
  std::map<std::pair<int, QString>, std::unique_ptr<CDBVisiter>> sessions_;
};
