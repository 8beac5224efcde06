#pragma once

#include <QString>
#include <QVariantMap>

#include <functional>
#include <map>

namespace ts {

class Db;

// The customer list doubles as the customer picker of many forms: a form
// opens it with its mode text and gets the chosen customer back. A receiving
// form registers what it does with the customer under its mode text, once:
//
//     CustomerPicker::instance().receive(QStringLiteral("积分兑换"),
//         [form](const PickedCustomer& c) { form->fillCustomer(c); });
struct PickedCustomer {
    enum class How { DoubleClick, Typing };
    // Every column of the customer's 客户资料 row by column name ("id" for
    // the number); dates as stored text.
    QVariantMap row;
    How how = How::DoubleClick;

    qint64 id() const { return row.value(QStringLiteral("id")).toLongLong(); }
    QString text(const QString& column) const;
};

class CustomerPicker {
public:
    using Receiver = std::function<void(const PickedCustomer&)>;

    void receive(const QString& mode, Receiver receiver);
    void forget(const QString& mode);
    bool knows(const QString& mode) const { return receivers_.count(mode) != 0; }

    // Modes in which typing a character in the list (Enter among them) picks
    // the current row, as a double click does in every mode.
    static bool picksOnTyping(const QString& mode);

    // Hands the customer to the form of `mode`. False when nobody receives
    // that mode or the customer no longer exists; nothing is handed then.
    bool pick(Db& db, const QString& mode, qint64 customerId, PickedCustomer::How how);

    // "该用户该产品签单数为：" + n when the customer owes n > 0 units of the
    // product on IOU; empty otherwise. The card and ticket sale forms show it
    // on a pick.
    static QString iouNotice(Db& db, qint64 customerId, const QString& product);

    static CustomerPicker& instance();

private:
    std::map<QString, Receiver> receivers_;
};

} // namespace ts
