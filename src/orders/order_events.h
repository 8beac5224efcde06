#pragma once

#include <QObject>

namespace ts {

// Order lines were committed (entered, delivered, paid, changed). The order
// board listens here instead of every form knowing the main window.
class OrderEvents : public QObject {
    Q_OBJECT
public:
    static OrderEvents& instance();

    // Call after the commit, never inside the transaction: a listener reads
    // the database and must see what was written.
    static void announce() { emit instance().ordersChanged(); }

signals:
    void ordersChanged();
};

} // namespace ts
