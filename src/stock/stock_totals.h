#pragma once

#include <QString>

namespace ts {

class Db;

// 库存总表, the stock on hand of each product in each warehouse. Every
// function changes it inside the caller's transaction (it throws when none is
// open), by an update that adds to the stored count rather than writing back
// a count read earlier, so two stations never lose each other's change.
namespace stock {

struct Taken {
    bool found = false;   // the warehouse holds a row for the product
    bool enough = true;   // false: refused, nothing taken (only when asked to refuse)
    int before = 0;       // the count around this change, when found
    int after = 0;
};

// Takes n units off the product's stock in the warehouse. With
// refuseShortfall the stock is left alone and `enough` is false when it holds
// fewer than n; otherwise it may go below zero. The row stays locked to this
// transaction until it ends, so `before` and `after` are the values around
// this very change.
Taken take(Db& db, const QString& warehouse, const QString& product, int n, bool refuseShortfall);

} // namespace stock
} // namespace ts
