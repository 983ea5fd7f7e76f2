// The lines of imported bills, kept per account file in table BillSeen:
// what each line said (the bill's number, the moment, the amount and its
// side, the counterpart, the payment method and goods, which bill and line)
// and what became of it: a record (Outcome empty, with the record's group
// and key) or left out, and why. The import finds duplicates and the same
// payment in another bill by them. A row of a stored line whose record was
// undone or deleted counts no more: the record is looked for.
#pragma once

#include <QString>

#include <vector>

class CDBVisiter;

struct SeenLine {
  QString number;
  QString merchant; // the merchant's order number, shared with refunds
  QString moment; // the stored date and time text
  double amount = 0; // positive
  int side = 0;      // 1 money out, 2 money in, 0 neither
  QString counterpart;
  QString method;
  QString goods;
  QString bill; // the bill's name: "支付宝个人对账单"
  int line = 0;
  QString outcome; // empty: stored as a record
  int groupId = 0;
  int recordId = 0;

  bool Stored() const { return outcome.isEmpty(); }
};

// Every line seen in the file; none when the file has no such table.
std::vector<SeenLine> LoadSeenLines(CDBVisiter &session);

// Adds lines; false when one could not be stored. Inside the caller's unit
// of work.
bool AddSeenLines(CDBVisiter &session, const std::vector<SeenLine> &lines);

// Whether the record of a stored line is still in the file.
bool SeenRecordExists(CDBVisiter &session, const SeenLine &line);
