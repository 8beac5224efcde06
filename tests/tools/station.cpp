// A second (third, fourth) station for the tests of several stations on one
// database: runs one operation many times against the database it is given
// and prints one line per attempt, so the test can count what happened.
//
//   ts_station TARGET add-products PREFIX N
//   ts_station TARGET add-customers PREFIX N
//   ts_station TARGET rename-customer ID PREFIX N
//   ts_station TARGET add KIND PREFIX N     (KIND: product-type, customer-type,
//                                           region, sub-area, worker, salesperson,
//                                           operator, special-price, ticket-balance)
//   ts_station TARGET hold SECONDS          (keeps a write open, then commits)
//   ts_station TARGET confirm-orders N SEED DAY OPTION=VALUE…
//       N orders through the order form's logic, on DAY (yyyy-MM-dd), each
//       composed in its own basket as an operator would and confirmed:
//         customers=ID,ID,…  whom the orders are for (required)
//         lines=MIN-MAX      lines per order (1-3), products drawn from the
//                            form's product list
//         qty=MIN-MAX        units per line (1-4)
//         products=A,B,…     draw from these instead
//         pay=METHOD         a payment method, or "form" (the default): what
//                            the customer load picks
//         book=PERCENT       orders booked for the next day (0)
//         close=1            at the end, clear this station's baskets as
//                            closing the main window does
//       "ok <document number>" per order written; a refusal carries, after a
//       tab, the customer, the payment method and the order's total.
//
// Each line is "ok", "refused <message>", "busy <message>" or "error <message>".

#include "customers/customer_records.h"
#include "customers/customer_setup.h"
#include "orders/order_basket.h"
#include "orders/order_entry.h"
#include "orders/salespeople.h"
#include "orders/workers.h"
#include "prepaid/tickets.h"
#include "session/clock.h"
#include "session/login_values.h"
#include "session/operators.h"
#include "stock/product_types.h"
#include "stock/products.h"
#include "storage/db.h"

#include <QCoreApplication>
#include <QThread>

#include <cstdio>
#include <functional>
#include <map>
#include <random>

using namespace ts;

namespace {

void report(const char* kind, const QString& text = {})
{
    if (text.isEmpty())
        std::printf("%s\n", kind);
    else
        std::printf("%s %s\n", kind, text.toUtf8().constData());
    std::fflush(stdout);
}

void attempt(const std::function<Outcome()>& op)
{
    try {
        const Outcome o = op();
        if (o.ok)
            report("ok");
        else
            report("refused", o.message);
    } catch (const DbBusy& e) {
        report("busy", e.message());
    } catch (const DbError& e) {
        report("error", e.message());
    }
}

// One order as the order form makes it: the customer loaded, one line per
// product picked with its quantity typed in, then "订水(&S)"; the window
// closes and takes its basket with it.
void confirmOne(Db& db, OrderEntry& entry, qint64 customerId, const QList<QPair<QString, int>>& picks,
                const QString& pay, const QDate& booking)
{
    const LoginValues& login = LoginValues::current();
    OrderDraft d;
    d.basketKey = OrderBasket::newKey();
    OrderBasket basket(db, d.basketKey);
    // Where an attempt that met a busy database stood.
    const char* step = "load";
    try {
        const std::optional<CustomerView> view = entry.load(customerId);
        if (!view) {
            report("error", QStringLiteral("no customer %1").arg(customerId));
            return;
        }
        d.customerId = customerId;
        d.name = view->text(QStringLiteral("客户姓名"));
        d.phone = view->text(QStringLiteral("联系电话"));
        d.address = view->text(QStringLiteral("联系地址"));
        d.code = view->text(QStringLiteral("手工编码"));
        d.customerType = view->text(QStringLiteral("客户类型"));
        d.company = view->text(QStringLiteral("客户单位"));
        d.district = view->text(QStringLiteral("客户地区"));
        d.subDistrict = view->text(QStringLiteral("小区域"));
        d.remark = view->text(QStringLiteral("备用1"));
        d.commissionRate = view->commissionRate;
        d.paymentMethod = pay == QLatin1String("form") ? view->paymentMethod : pay;
        d.warehouse = entry.warehouses().value(0);
        d.worker = entry.workers().value(1, OrderEntry::kNoWorker);
        if (booking.isValid()) {
            d.booked = true;
            d.bookingDate = booking;
            d.bookingTime = QTime(10, 0);
        }
        Money rate = d.commissionRate;
        step = "basket";
        for (const auto& [product, quantity] : picks) {
            const Outcome added = entry.addProduct(basket, product, customerId, d.customerType, d.paymentMethod, &rate);
            const Outcome typed =
                added ? basket.setQuantity(basket.lines().last().line, QString::number(quantity),
                                           {d.paymentMethod, login.commissionMethod, rate})
                      : added;
            if (!typed) {
                report("error", QStringLiteral("basket: ") + typed.message);
                return;
            }
        }
        Money total;
        for (const BasketLine& l : basket.lines()) {
            Money amount;
            Money::parse(l.amount, &amount);
            total += amount;
        }
        step = "confirm";
        const Confirmation c = entry.confirm(d);
        if (c.outcome)
            report("ok", c.documentNumber);
        else
            report("refused", c.outcome.message + QLatin1Char('\t') + QString::number(customerId) + QLatin1Char(' ')
                                  + d.paymentMethod + QLatin1Char(' ') + total.toDecimalString());
        step = "close";
        basket.clear();
    } catch (const DbBusy& e) {
        report("busy", e.message() + QLatin1Char('\t') + QLatin1String(step));
    } catch (const DbError& e) {
        report("error", e.message() + QLatin1Char('\t') + QLatin1String(step));
    }
}

// MIN-MAX of an option, or its default.
std::pair<int, int> range(const QString& text, std::pair<int, int> otherwise)
{
    const QStringList parts = text.split(QLatin1Char('-'));
    if (parts.size() != 2)
        return otherwise;
    return {parts.at(0).toInt(), parts.at(1).toInt()};
}

int confirmOrders(Db& db, const QStringList& args)
{
    const int n = args.at(0).toInt();
    std::mt19937 random(args.at(1).toUInt());
    const QDate day = QDate::fromString(args.at(2), QStringLiteral("yyyy-MM-dd"));
    std::map<QString, QString> options;
    for (const QString& a : args.mid(3)) {
        const qsizetype eq = a.indexOf(QLatin1Char('='));
        if (eq > 0)
            options[a.left(eq)] = a.mid(eq + 1);
    }
    QList<qint64> customers;
    for (const QString& id : options["customers"].split(QLatin1Char(','), Qt::SkipEmptyParts))
        customers << id.toLongLong();
    if (!day.isValid() || customers.isEmpty()) {
        std::fprintf(stderr, "confirm-orders needs a day and customers=\n");
        return 2;
    }
    const auto [minLines, maxLines] = range(options["lines"], {1, 3});
    const auto [minQty, maxQty] = range(options["qty"], {1, 4});
    const QString pay = options["pay"].isEmpty() ? QStringLiteral("form") : options["pay"];
    const int bookPercent = options["book"].toInt();

    // The station's day stays put, whatever the wall clock does meanwhile.
    clock::setNow(QDateTime(day, QTime(9, 0)));
    LoginValues& login = LoginValues::current();
    login.operatorName = QStringLiteral("站%1").arg(QCoreApplication::applicationPid());
    login.commissionMethod = QStringLiteral("产品");
    login.stockWarning = QStringLiteral("提示");
    OrderEntry entry(db, login);
    const QStringList products = options["products"].isEmpty()
                                     ? entry.products().texts(QStringLiteral("产品名称"))
                                     : options["products"].split(QLatin1Char(','));

    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random); };
    for (int i = 0; i < n; ++i) {
        const qint64 customer = customers.at(pick(0, int(customers.size()) - 1));
        QList<QPair<QString, int>> picks;
        for (int l = pick(minLines, maxLines); l > 0; --l)
            picks.append({products.at(pick(0, int(products.size()) - 1)), pick(minQty, maxQty)});
        const QDate booking = pick(0, 99) < bookPercent ? day.addDays(1) : QDate();
        confirmOne(db, entry, customer, picks, pay, booking);
    }
    if (options["close"] == QLatin1String("1"))
        OrderBasket::clearStation(db);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList a = app.arguments();
    if (a.size() < 3) {
        std::fprintf(stderr, "usage: ts_station TARGET OPERATION ARGS…\n");
        return 2;
    }
    QString error;
    const auto target = DbTarget::parse(a.at(1), &error);
    auto db = target ? Db::open(*target, &error) : nullptr;
    if (!db) {
        std::fprintf(stderr, "%s\n", error.toUtf8().constData());
        return 1;
    }
    const QString op = a.at(2);
    if (op == QLatin1String("add-products") && a.size() == 5) {
        ProductCatalog products(*db);
        for (int i = 0; i < a.at(4).toInt(); ++i)
            attempt([&] {
                ProductInput p;
                p.name = a.at(3) + QString::number(i);
                p.code = QStringLiteral("P%1").arg(i);
                p.commission = QStringLiteral("0.5");
                p.type = QStringLiteral("水");
                return products.add(p);
            });
    } else if (op == QLatin1String("add-customers") && a.size() == 5) {
        CustomerRecords records(*db);
        for (int i = 0; i < a.at(4).toInt(); ++i)
            attempt([&] {
                CustomerInput c;
                c.name = QStringLiteral("客户%1").arg(i);
                c.address = a.at(3) + QString::number(i);
                c.phone = QStringLiteral("1390000%1").arg(i, 4, 10, QLatin1Char('0'));
                c.region = QStringLiteral("城东");
                return records.create(c, {}, QStringLiteral("admin"));
            });
    } else if (op == QLatin1String("rename-customer") && a.size() == 6) {
        CustomerRecords records(*db);
        const qint64 id = a.at(3).toLongLong();
        for (int i = 0; i < a.at(5).toInt(); ++i)
            attempt([&] {
                const auto current = records.load(id);
                if (!current)
                    return Outcome::refused(QStringLiteral("no such customer"));
                CustomerInput c = *current;
                c.mayChangePoints = false;  // the points stay as the table has them
                c.name = a.at(4) + QString::number(i);
                return records.update(id, current->name, c);
            });
    } else if (op == QLatin1String("add") && a.size() == 6) {
        const QString kind = a.at(3);
        const std::function<Outcome(const QString&)> add =
            kind == QLatin1String("product-type")    ? std::function<Outcome(const QString&)>(
                                                           [&](const QString& n) { return ProductTypes(*db).add(n); })
            : kind == QLatin1String("customer-type") ? [&](const QString& n) { return CustomerTypes(*db).add(n, "1"); }
            : kind == QLatin1String("region")        ? [&](const QString& n) { return Regions(*db).addRegion(n); }
            : kind == QLatin1String("sub-area")      ? [&](const QString& n) { return Regions(*db).addSubArea("城东", n); }
            : kind == QLatin1String("worker")
                ? [&](const QString& n) { return DeliveryWorkers(*db).add({n, "1", "", "是"}); }
            : kind == QLatin1String("salesperson") ? [&](const QString& n) { return Salespeople(*db).add(n); }
            : kind == QLatin1String("operator")    ? [&](const QString& n) { return Operators(*db).add(n, "pw", "pw"); }
            // Customer 1, one price per product: a second station updates the row.
            : kind == QLatin1String("special-price")
                ? [&](const QString& n) { return CustomerRecords(*db).setSpecialPrice(1, "甲", n, "5"); }
            // Customer 1 gains one ticket of the kind each time.
            : kind == QLatin1String("ticket-balance") ? [&](const QString& n) {
                  return db->write([&] {
                      tickets::addToBalance(*db, 1, "甲", n, 1);
                      return Outcome::done();
                  });
              }
                                                      : std::function<Outcome(const QString&)>();
        if (!add) {
            std::fprintf(stderr, "unknown kind\n");
            return 2;
        }
        for (int i = 0; i < a.at(5).toInt(); ++i)
            attempt([&] { return add(a.at(4) + QString::number(i)); });
    } else if (op == QLatin1String("hold") && a.size() == 4) {
        // Takes what an operation adding a product takes, and keeps it.
        db->write([&] {
            db->serialise(QStringLiteral("产品名称"));
            db->run(QStringLiteral("update 提成方式 set 方式=方式"));
            report("holding");
            QThread::sleep(a.at(3).toULong());
        });
        report("ok");
    } else if (op == QLatin1String("confirm-orders") && a.size() >= 6) {
        return confirmOrders(*db, a.mid(3));
    } else {
        std::fprintf(stderr, "unknown operation\n");
        return 2;
    }
    return 0;
}
