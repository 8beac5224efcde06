#pragma once

#include <QDate>
#include <QString>

namespace ts {

class Db;

// 单据编号, the number every order line of one order shares: the order date
// as yyyymmdd and a four-digit sequence within that date, "0001" first.
namespace documents {

// The next number of `orderDate`, allocated inside the caller's transaction
// (it throws when none is open); no other station gets the same number
// before this transaction ends.
//
// The sequence continues from the highest number that starts with the date,
// whatever 购物日期 its lines carry: a line of the date that carries another
// date's number does not restart it, and a booking moved to another day does
// not leave its number free to be handed out twice. After 9999 the sequence
// grows a fifth digit (yyyymmdd10000): a date never runs into the next
// date's numbers, and the highest number is found by length, then text.
QString next(Db& db, const QDate& orderDate);

} // namespace documents
} // namespace ts
