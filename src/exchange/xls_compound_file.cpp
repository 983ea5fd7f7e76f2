// Following an OLE2 compound file to its workbook stream; see
// xls_compound_file.h.
//
// The file is a header of 512 bytes and sectors of 512 (version 3) or 4096
// bytes (version 4); sector n starts at (n + 1) * sector size. A stream is
// a chain of sectors in the file allocation table (FAT), whose own sectors
// the header lists (the first 109) and the DIFAT sectors (the rest). The
// directory is a stream of 128-byte entries; streams under 4096 bytes live
// in 64-byte sectors of the mini stream, chained in the mini FAT. Every
// chain is followed at most as many steps as its table has entries, so a
// loop ends it.
#include "exchange/xls_compound_file.h"

#include <QByteArray>
#include <QFile>

#include <cstring>
#include <vector>

namespace {

constexpr quint32 kEndOfChain = 0xFFFFFFFE;
constexpr qint64 kMiniSector = 64;
constexpr qint64 kMiniCutoff = 4096;
constexpr int kHeaderFatSectors = 109;
constexpr qint64 kEntry = 128;
// Past this the sum stops growing: far beyond any limit a reader sets.
constexpr qint64 kCellsCeiling = qint64(1) << 50;

quint16 U16(const uchar *p) { return quint16(p[0] | p[1] << 8); }

quint32 U32(const uchar *p) {
  return quint32(p[0]) | quint32(p[1]) << 8 | quint32(p[2]) << 16 |
         quint32(p[3]) << 24;
}

class CompoundFile {
public:
  CompoundFile(const uchar *data, qint64 size) : data_(data), size_(size) {}

  bool Open();
  // The stream named Workbook (BIFF8) or Book (BIFF5); false with found
  // unset when there is none, with found set when it cannot be read.
  bool Workbook(QByteArray *stream, bool *found) const;

private:
  bool ReadFat();
  bool ReadChain(quint32 start, qint64 bytes, QByteArray *out) const;
  bool ReadMiniChain(quint32 start, qint64 bytes, QByteArray *out) const;
  const uchar *Entry(const QString &name) const;

  const uchar *data_;
  qint64 size_;
  qint64 sectorSize_ = 512;
  std::vector<quint32> fat_;
  std::vector<quint32> miniFat_;
  QByteArray directory_;
  QByteArray miniStream_;
};

// The entries of a table's sectors, as 32-bit numbers.
void AppendEntries(const QByteArray &bytes, std::vector<quint32> *table) {
  const auto *p = reinterpret_cast<const uchar *>(bytes.constData());
  for (qsizetype i = 0; i + 4 <= bytes.size(); i += 4)
    table->push_back(U32(p + i));
}

bool CompoundFile::Open() {
  if (size_ < 512 || memcmp(data_, "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8) != 0)
    return false;
  const quint16 shift = U16(data_ + 0x1E);
  if ((shift != 9 && shift != 12) || U16(data_ + 0x20) != 6 ||
      U32(data_ + 0x38) != kMiniCutoff)
    return false;
  sectorSize_ = qint64(1) << shift;
  if (!ReadFat() || !ReadChain(U32(data_ + 0x30), -1, &directory_) ||
      directory_.size() < kEntry)
    return false;
  QByteArray miniFat;
  const quint32 miniFatStart = U32(data_ + 0x3C);
  if (miniFatStart != kEndOfChain && !ReadChain(miniFatStart, -1, &miniFat))
    return false;
  AppendEntries(miniFat, &miniFat_);
  // The root entry, the first, holds the mini stream.
  const auto *root = reinterpret_cast<const uchar *>(directory_.constData());
  if (root[0x42] != 5)
    return false;
  const quint32 rootStart = U32(root + 0x74);
  return rootStart == kEndOfChain ||
         ReadChain(rootStart, U32(root + 0x78), &miniStream_);
}

bool CompoundFile::ReadFat() {
  const qint64 sectors = size_ / sectorSize_ - 1;
  const quint32 fatSectors = U32(data_ + 0x2C);
  if (fatSectors == 0 || fatSectors > sectors)
    return false;
  std::vector<quint32> list;
  for (int i = 0; i < kHeaderFatSectors && list.size() < fatSectors; ++i)
    list.push_back(U32(data_ + 0x4C + 4 * i));
  quint32 difat = U32(data_ + 0x44);
  const qint64 perDifat = sectorSize_ / 4 - 1;
  for (qint64 steps = 0; list.size() < fatSectors; ++steps) {
    if (difat >= sectors || steps >= sectors)
      return false;
    const uchar *p = data_ + (qint64(difat) + 1) * sectorSize_;
    for (qint64 i = 0; i < perDifat && list.size() < fatSectors; ++i)
      list.push_back(U32(p + 4 * i));
    difat = U32(p + 4 * perDifat);
  }
  for (const quint32 sector : list) {
    if (sector >= sectors)
      return false;
    const uchar *p = data_ + (qint64(sector) + 1) * sectorSize_;
    for (qint64 i = 0; i < sectorSize_; i += 4)
      fat_.push_back(U32(p + i));
  }
  return true;
}

// The sectors of the chain from start, the first bytes of them (all of
// them when bytes is negative); false when it leaves the file or the table,
// loops, or ends short.
bool CompoundFile::ReadChain(quint32 start, qint64 bytes,
                             QByteArray *out) const {
  out->clear();
  if (bytes > size_)
    return false;
  quint32 sector = start;
  for (size_t steps = 0; sector != kEndOfChain; ++steps) {
    if (sector >= fat_.size() || steps >= fat_.size())
      return false;
    const qint64 offset = (qint64(sector) + 1) * sectorSize_;
    if (offset + sectorSize_ > size_)
      return false;
    out->append(reinterpret_cast<const char *>(data_ + offset), sectorSize_);
    if (bytes >= 0 && out->size() >= bytes)
      break;
    sector = fat_[sector];
  }
  if (bytes < 0)
    return true;
  if (out->size() < bytes)
    return false;
  out->truncate(bytes);
  return true;
}

bool CompoundFile::ReadMiniChain(quint32 start, qint64 bytes,
                                 QByteArray *out) const {
  out->clear();
  quint32 sector = start;
  for (size_t steps = 0; out->size() < bytes; ++steps) {
    if (sector >= miniFat_.size() || steps >= miniFat_.size())
      return false;
    const qint64 offset = qint64(sector) * kMiniSector;
    if (offset + kMiniSector > miniStream_.size())
      return false;
    out->append(miniStream_.constData() + offset, kMiniSector);
    sector = miniFat_[sector];
  }
  out->truncate(bytes);
  return true;
}

// The directory entry of the stream called name, ignoring case; null when
// there is none.
const uchar *CompoundFile::Entry(const QString &name) const {
  const auto *entries = reinterpret_cast<const uchar *>(directory_.constData());
  for (qint64 at = 0; at + kEntry <= directory_.size(); at += kEntry) {
    const uchar *entry = entries + at;
    const quint16 length = U16(entry + 0x40); // bytes, with the final NUL
    if (entry[0x42] != 2 || length < 2 || length > 64)
      continue;
    QString entryName(length / 2 - 1, Qt::Uninitialized);
    for (int i = 0; i < entryName.size(); ++i)
      entryName[i] = QChar(U16(entry + 2 * i));
    if (entryName.compare(name, Qt::CaseInsensitive) == 0)
      return entry;
  }
  return nullptr;
}

bool CompoundFile::Workbook(QByteArray *stream, bool *found) const {
  const uchar *entry = Entry(QStringLiteral("Workbook"));
  if (!entry)
    entry = Entry(QStringLiteral("Book"));
  *found = entry != nullptr;
  if (!entry)
    return false;
  const quint32 start = U32(entry + 0x74);
  const qint64 bytes = U32(entry + 0x78);
  return bytes < kMiniCutoff ? ReadMiniChain(start, bytes, stream)
                             : ReadChain(start, bytes, stream);
}

// The cells the DIMENSION records of a BIFF stream claim, all together; -1
// when a record runs past the end of the stream or a sheet's substream
// (from a BOF record at the top level to its EOF, with the substreams
// nested in it) holds more than one: FreeXL, lost in such a stream,
// allocates the cells of a sheet again and loses the earlier.
qint64 ClaimedCells(const QByteArray &stream) {
  constexpr quint16 kBof = 0x0809, kEof = 0x000A, kDimension = 0x0200;
  const auto *p = reinterpret_cast<const uchar *>(stream.constData());
  qint64 cells = 0;
  int depth = 0;
  int dimensions = 0; // in the current substream
  for (qsizetype at = 0; at + 4 <= stream.size() && cells < kCellsCeiling;) {
    const quint16 type = U16(p + at);
    const quint16 length = U16(p + at + 2);
    const uchar *body = p + at + 4;
    at += 4 + length;
    if (at > stream.size())
      return -1;
    if (type == kBof && depth++ == 0)
      dimensions = 0;
    else if (type == kEof && depth > 0)
      --depth;
    if (type != kDimension)
      continue;
    if (++dimensions > 1)
      return -1;
    if (length >= 14) // BIFF8: 32-bit rows
      cells += qint64(U32(body + 4)) * U16(body + 10);
    else if (length >= 10) // BIFF5
      cells += qint64(U16(body + 2)) * U16(body + 6);
  }
  return cells;
}

} // namespace

XlsLook XlsClaimedCells(const QString &path, qint64 *cells) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly) || file.size() < 512)
    return XlsLook::Damaged;
  const uchar *data = file.map(0, file.size());
  if (!data)
    return XlsLook::Damaged;
  CompoundFile compound(data, file.size());
  QByteArray stream;
  bool found = false;
  if (!compound.Open())
    return XlsLook::Damaged;
  if (!compound.Workbook(&stream, &found))
    return found ? XlsLook::Damaged : XlsLook::NoWorkbook;
  *cells = ClaimedCells(stream);
  return *cells < 0 ? XlsLook::Damaged : XlsLook::Read;
}
