#pragma once

#include "orders/order_basket.h"
#include "storage/money.h"
#include "storage/outcome.h"
#include "storage/rows.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <QTime>
#include <QVariantMap>

#include <optional>

namespace ts {

class Db;
struct LoginValues;

// What the customer load puts on an order form: the customer's row and the
// status panel beside it.
struct CustomerView {
    QVariantMap row;   // every column of the 客户资料 row ("id" for the number)
    qint64 id = 0;
    QString paymentMethod;  // the default: "水票", else "预付款", else "现金"
    Money prepayment;       // 预付款剩余 (0 when empty)
    Money commissionRate;   // 提成
    int owedBuckets = 0;    // 该用户欠桶数
    QString dispenser;      // 是否租借了饮水机: "出租", "借用" or "无"
    QString iou;            // 签单情况, as shown ("0" when nothing is on IOU)
    Money deposit;          // 交纳押金
    QString lastProduct;    // 上次订购产品
    Rows tickets;           // 产品名称, 还剩数量 of 客户水票总表

    QString text(const QString& column) const { return row.value(column).toString(); }
};

// The three searches of the order form ("查询" beside each input).
enum class CustomerField { Telephone, Name, Code };

struct CustomerSearch {
    enum class Found { Nothing, One, Several };
    Found found = Found::Nothing;
    CustomerView customer;  // when One
    // The message the form shows: when nothing or several were found.
    QString message;
};

// Everything the order form shows when the operator confirms.
struct OrderDraft {
    QString basketKey;
    qint64 customerId = 0;  // 0: "无", a new customer is written with the order

    QString phone;
    QString name;
    QString code;         // 手工编码
    QString customerType;
    QString company;      // 客户单位
    QString district;     // 一级区域 (客户地区)
    QString subDistrict;  // 二级区域 (小区域)
    QString address;
    QString remark;       // 客户备注 (备用1)

    QString warehouse;
    QString paymentMethod = QStringLiteral("现金");
    QString worker = QStringLiteral("暂不指定");
    bool customerCollects = false;  // 客户自提水
    bool smsToWorker = false;       // 短信通知配送工
    QString deliveryRemark;         // 本次发货备注

    bool booked = false;  // 预约送水时间
    QDate bookingDate;
    QTime bookingTime;

    Money commissionRate;  // the customer's per-unit rate as the form holds it

    // The automatic order form writes the call's recording into the lines and
    // says nothing about a booking for another day.
    QString recordingFile;
    bool bookingNotice = true;
};

// Refused, the confirmation wrote nothing (Db::write rolls back a result
// whose outcome is refused).
struct Confirmation {
    Outcome outcome;         // refused with the message of the first check that failed
    QString documentNumber;  // 单据编号 of the order written
    qint64 customerId = 0;   // the customer of the order (new or old)
    QString name;            // the name written (an empty one becomes a blank)
};

// How "只保存新客户资料" differs between the two order forms.
struct NewCustomerRules {
    bool requirePhone = true;  // the manual form asks for a telephone
    bool rateFromType = true;  // and takes the customer type's rate under "客户类型"
};

// Order entry: the customer, the basket and the confirmation that writes an
// order. The manual and the automatic order form both work through it.
class OrderEntry {
public:
    OrderEntry(Db& db, const LoginValues& login) : db_(db), login_(login) {}

    static const QStringList& paymentMethods();  // 现金, 水票, 签单, 免费, 水卡, 预付款
    static inline const QString kNoWorker = QStringLiteral("暂不指定");

    // The lists of the form.
    QStringList workers();         // "暂不指定", then every worker
    QStringList customerNames();   // an empty entry, then every name, trimmed
    QStringList warehouses();      // in id order
    QStringList districts();
    QStringList subDistricts(const QString& district);  // an empty entry first
    QStringList customerTypes();
    Rows products();               // 产品名称, 单价, 产品类型, 业务员提成

    // The customer load; nullopt when the customer no longer exists.
    std::optional<CustomerView> load(qint64 customerId);
    // A search by the typed text anywhere in the field.
    CustomerSearch search(CustomerField field, const QString& typed);
    // Choosing a name in the drop-down: the first customer of exactly that
    // name; nullopt when there is none. An empty name is refused.
    Outcome checkChosenName(const QString& name);
    std::optional<CustomerView> byExactName(const QString& name);

    // Double-clicking a product: a line of one unit at the product's price,
    // the customer's special price when he has one, 0 under "免费".
    // customerRate is updated for a new customer under "客户类型". Refused
    // when the product is gone.
    Outcome addProduct(OrderBasket& basket, const QString& product, qint64 customerId, const QString& customerType,
                       const QString& paymentMethod, Money* customerRate);
    // "自动成为本次订水信息": the same for the last product at its list price;
    // nothing happens when it is gone.
    Outcome addLastProduct(OrderBasket& basket, const QString& product, qint64 customerId,
                           const QString& customerType, const QString& paymentMethod, Money* customerRate);

    // The text the worker's SMS carries, over every line of the basket.
    QString smsText(const OrderDraft& draft, const QList<BasketLine>& lines);

    // "订水(&S)": the checks in their order, then the whole order in one
    // transaction. Announces the change to the orders after the commit.
    Confirmation confirm(const OrderDraft& draft);

    // "只保存新客户资料": the new customer's id in `id`, "保存成功" as message.
    Outcome saveNewCustomer(const OrderDraft& draft, const NewCustomerRules& rules, qint64* id);

    // The call row of an opening with a telephone number; its 编号.
    qint64 logCall(const QString& phone, const QDateTime& at, const QString& name, const QString& customerId,
                   const QString& address);
    // The call led to an order.
    void markCallOrdered(qint64 callRow, const QString& documentNumber = {}, const QString& recordingFile = {});

private:
    Outcome addLine(OrderBasket& basket, const QString& product, qint64 customerId, const QString& customerType,
                    const QString& paymentMethod, Money* customerRate, bool specialPrice);
    Confirmation confirmOnce(const OrderDraft& draft);

    Db& db_;
    const LoginValues& login_;
};

} // namespace ts
