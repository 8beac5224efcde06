#pragma once

#include "storage/db.h"
#include "storage/outcome.h"

#include "storage/rows.h"
#include <QString>
#include <QStringList>

#include <optional>

namespace ts {

// The product form's eight inputs as typed; amounts are still text here so
// that an empty amount stays empty (no price) rather than becoming 0.
struct ProductInput {
    QString name;           // 产品名称
    QString unit;           // 产品单位
    QString price;          // 销售单价 → 单价
    QString commission;     // 送水员提成 → 业务员提成
    QString purchasePrice;  // 进货单价 → 进货价
    QString ticketPrice;    // 水票优惠单价
    QString type;           // 产品类型
    QString code;           // 自编码 → 产品编号

    bool operator==(const ProductInput&) const = default;
};

// The product list 产品列表: every order line, stock row and ticket names a
// product by its 产品名称, so this is where those names are made.
class ProductCatalog {
public:
    explicit ProductCatalog(Db& db) : db_(db) {}

    // Every product for the list, in the order they were entered.
    Rows list();
    std::optional<ProductInput> read(qint64 id);
    // The choices of 产品类型.
    QStringList typeNames();

    // The checks of 确定, in the order the operator meets them. `exceptId` is
    // the product being edited (its own name is no clash), 0 for a new one.
    Outcome check(const ProductInput& in, qint64 exceptId = 0);
    // Writes a new product; its id goes to *id.
    Outcome add(const ProductInput& in, qint64* id = nullptr);
    // Changes only 产品列表: stock rows, orders and balances keep the name
    // they were written with.
    Outcome update(qint64 id, const ProductInput& in);
    // The product and its rows in 库存总表 and 空桶库存表 go together; order
    // lines, movements and ticket balances that name it stay.
    Outcome remove(qint64 id);

private:
    Binds binds(const ProductInput& in, QString* error) const;

    Db& db_;
};

} // namespace ts
