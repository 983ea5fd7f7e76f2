// Bill layouts read from their JSON files; see bill_layouts.h.
#include "exchange/bill_layouts.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <QStandardPaths>

namespace {

struct NamedRole {
  const char *name;
  BillRole role;
};

constexpr NamedRole kRoles[] = {
    {"other", BillRole::Other},         {"date", BillRole::Date},
    {"time", BillRole::Time},           {"posted", BillRole::Posted},
    {"direction", BillRole::Direction}, {"amount", BillRole::Amount},
    {"debit", BillRole::Debit},         {"credit", BillRole::Credit},
    {"flag", BillRole::Flag},           {"currency", BillRole::Currency},
    {"original", BillRole::Original},   {"counterpart", BillRole::Counterpart},
    {"goods", BillRole::Goods},         {"method", BillRole::Method},
    {"status", BillRole::Status},       {"kind", BillRole::Kind},
    {"number", BillRole::Number},       {"merchant", BillRole::Merchant},
    {"remark", BillRole::Remark},       {"refunded", BillRole::Refunded},
    {"fee", BillRole::Fee},             {"card", BillRole::Card},
    {"balance", BillRole::Balance},
};

struct NamedSide {
  const char *name;
  BillSideForm side;
};

constexpr NamedSide kSides[] = {
    {"direction", BillSideForm::Direction},
    {"debit-credit", BillSideForm::DebitCredit},
    {"signed", BillSideForm::Signed},
    {"flag", BillSideForm::Flag},
    {"credit-card", BillSideForm::CreditCard},
};

constexpr const char *kSources[] = {"csv", "xlsx", "xls"};

QStringList Strings(const QJsonValue &value) {
  QStringList texts;
  if (value.isString())
    texts.append(value.toString());
  for (const QJsonValue &each : value.toArray())
    if (each.isString() && !each.toString().isEmpty())
      texts.append(each.toString());
  return texts;
}

QJsonArray Array(const QStringList &texts) {
  QJsonArray array;
  for (const QString &text : texts)
    array.append(text);
  return array;
}

// The layouts of the JSON files in folder, in the order of their names;
// a file that is no layout is left out.
QList<BillLayout> ReadFolder(const QString &folder, bool user) {
  QList<BillLayout> layouts;
  if (folder.isEmpty())
    return layouts;
  const QDir dir(folder);
  for (const QString &name :
       dir.entryList({QStringLiteral("*.json")}, QDir::Files, QDir::Name)) {
    QFile file(dir.filePath(name));
    // A layout file is small; a large one is no layout.
    if (file.size() > 256 * 1024 || !file.open(QIODevice::ReadOnly))
      continue;
    BillLayout layout;
    QString error;
    if (!ParseBillLayout(file.readAll(), &layout, &error))
      continue;
    layout.id = QFileInfo(name).completeBaseName();
    layout.user = user;
    layouts.append(layout);
  }
  return layouts;
}

QList<BillLayout> &Layouts() {
  static QList<BillLayout> layouts;
  return layouts;
}

bool &Loaded() {
  static bool loaded = false;
  return loaded;
}

// A file name of the user's layout called name: the characters a file
// name may not hold are replaced.
QString FileNameOf(const QString &name) {
  QString file = name.trimmed();
  for (QChar &c : file)
    if (c == QLatin1Char('/') || c == QLatin1Char('\\') || c.unicode() < 32)
      c = QLatin1Char('_');
  if (file.startsWith(QLatin1Char('.')))
    file.prepend(QLatin1Char('_'));
  return file + QStringLiteral(".json");
}

} // namespace

QString BillLayout::HeaderOf(BillRole role) const {
  for (const BillColumn &column : columns)
    if (column.role == role)
      return column.header;
  return {};
}

QString RoleName(BillRole role) {
  for (const NamedRole &named : kRoles)
    if (named.role == role)
      return QString::fromLatin1(named.name);
  return QStringLiteral("other");
}

bool RoleOfName(const QString &name, BillRole *role) {
  for (const NamedRole &named : kRoles)
    if (name == QLatin1String(named.name)) {
      *role = named.role;
      return true;
    }
  return false;
}

bool ParseBillLayout(const QByteArray &json, BillLayout *layout,
                     QString *error) {
  QJsonParseError parse;
  const QJsonDocument document = QJsonDocument::fromJson(json, &parse);
  if (!document.isObject()) {
    *error = QStringLiteral("账单格式文件无法读取：%1").arg(parse.errorString());
    return false;
  }
  const QJsonObject object = document.object();
  BillLayout read;
  read.name = object.value(QStringLiteral("name")).toString().trimmed();
  for (const QString &source : Strings(object.value(QStringLiteral("sources"))))
    for (size_t i = 0; i < std::size(kSources); ++i)
      if (source == QLatin1String(kSources[i]))
        read.sources.append(BillSource(i));
  read.encoding = object.value(QStringLiteral("encoding")).toString();
  read.marker = object.value(QStringLiteral("marker")).toString();
  read.channel = object.value(QStringLiteral("channel")).toString();
  const QString side = object.value(QStringLiteral("side")).toString();
  bool sideKnown = false;
  for (const NamedSide &named : kSides)
    if (side == QLatin1String(named.name)) {
      read.side = named.side;
      sideKnown = true;
    }
  read.flagOut = Strings(object.value(QStringLiteral("flagOut")));
  read.flagIn = Strings(object.value(QStringLiteral("flagIn")));
  read.rowsEnd = Strings(object.value(QStringLiteral("rowsEnd")));
  for (const QJsonValue &value : object.value(QStringLiteral("columns")).toArray()) {
    const QJsonObject column = value.toObject();
    BillColumn read_column;
    read_column.header = column.value(QStringLiteral("header")).toString().trimmed();
    read_column.optional = column.value(QStringLiteral("optional")).toBool();
    if (read_column.header.isEmpty() ||
        !RoleOfName(column.value(QStringLiteral("role")).toString(),
                    &read_column.role)) {
      *error = QStringLiteral("账单格式的列无法识别：%1")
                   .arg(QString::fromUtf8(QJsonDocument(column).toJson(
                       QJsonDocument::Compact)));
      return false;
    }
    read.columns.append(read_column);
  }
  if (read.name.isEmpty() || read.sources.isEmpty() || !sideKnown ||
      read.columns.size() < 2) {
    *error = QStringLiteral("账单格式缺少名称、来源、收支方式或列");
    return false;
  }
  *layout = read;
  return true;
}

QByteArray BillLayoutJson(const BillLayout &layout) {
  QJsonObject object;
  object.insert(QStringLiteral("name"), layout.name);
  QJsonArray sources;
  for (const BillSource source : layout.sources)
    sources.append(QString::fromLatin1(kSources[int(source)]));
  object.insert(QStringLiteral("sources"), sources);
  if (!layout.encoding.isEmpty())
    object.insert(QStringLiteral("encoding"), layout.encoding);
  if (!layout.marker.isEmpty())
    object.insert(QStringLiteral("marker"), layout.marker);
  if (!layout.channel.isEmpty())
    object.insert(QStringLiteral("channel"), layout.channel);
  for (const NamedSide &named : kSides)
    if (named.side == layout.side)
      object.insert(QStringLiteral("side"), QString::fromLatin1(named.name));
  if (!layout.flagOut.isEmpty())
    object.insert(QStringLiteral("flagOut"), Array(layout.flagOut));
  if (!layout.flagIn.isEmpty())
    object.insert(QStringLiteral("flagIn"), Array(layout.flagIn));
  if (!layout.rowsEnd.isEmpty())
    object.insert(QStringLiteral("rowsEnd"), Array(layout.rowsEnd));
  QJsonArray columns;
  for (const BillColumn &column : layout.columns) {
    QJsonObject each;
    each.insert(QStringLiteral("header"), column.header);
    each.insert(QStringLiteral("role"), RoleName(column.role));
    if (column.optional)
      each.insert(QStringLiteral("optional"), true);
    columns.append(each);
  }
  object.insert(QStringLiteral("columns"), columns);
  return QJsonDocument(object).toJson(QJsonDocument::Indented);
}

QString BuiltInLayoutFolder() {
  // Installed, the folder lies beside the program; tests and benchmarks
  // run from a folder below the build's, some without an application
  // object to ask.
  const QDir program(QCoreApplication::instance()
                         ? QCoreApplication::applicationDirPath()
                         : QFileInfo(QStringLiteral("/proc/self/exe")).canonicalPath());
  for (const QString &relative :
       {QStringLiteral("system/bills"), QStringLiteral("../system/bills")})
    if (program.exists(relative))
      return QDir::cleanPath(program.filePath(relative));
  return QString();
}

QString UserLayoutFolder() {
  const QString data =
      QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
  if (data.isEmpty())
    return QString();
  return data + QStringLiteral("/桌面账本应用程序/Sorvanel/bills");
}

const QList<BillLayout> &BillLayouts() {
  if (!Loaded())
    ReloadBillLayouts();
  return Layouts();
}

void ReloadBillLayouts() {
  Layouts() = ReadFolder(UserLayoutFolder(), true) +
              ReadFolder(BuiltInLayoutFolder(), false);
  Loaded() = true;
}

bool SaveUserLayout(const BillLayout &layout, QString *error) {
  const QString folder = UserLayoutFolder();
  if (layout.name.trimmed().isEmpty()) {
    *error = QStringLiteral("请输入账单格式的名称！");
    return false;
  }
  if (folder.isEmpty() || !QDir().mkpath(folder)) {
    *error = QStringLiteral("无法创建文件夹：%1").arg(folder);
    return false;
  }
  const QString path = QDir(folder).filePath(FileNameOf(layout.name));
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly) ||
      file.write(BillLayoutJson(layout)) < 0 || !file.commit()) {
    *error = QStringLiteral("无法写入文件：%1").arg(path);
    return false;
  }
  ReloadBillLayouts();
  return true;
}
