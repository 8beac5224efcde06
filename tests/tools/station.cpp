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
//
// Each line is "ok", "refused <message>", "busy <message>" or "error <message>".

#include "customers/customer_records.h"
#include "customers/customer_setup.h"
#include "orders/salespeople.h"
#include "orders/workers.h"
#include "prepaid/tickets.h"
#include "session/operators.h"
#include "stock/product_types.h"
#include "stock/products.h"
#include "storage/db.h"

#include <QCoreApplication>
#include <QThread>

#include <cstdio>
#include <functional>

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
    } else {
        std::fprintf(stderr, "unknown operation\n");
        return 2;
    }
    return 0;
}
