#pragma once

#include "printing/printout.h"
#include "storage/outcome.h"
#include "storage/rows.h"

#include <QDate>
#include <QString>

#include <functional>

// The order board's prints and its export, from the rows the board shows
// ("select * from 产品销售开票 ..."; any rows with the columns used will do).
//
//   const Rows shown = db.select(OrderBoard(db).query(filter, today));
//   showPreview(this, printing::a4List(shown, today), PreviewWait::UntilClosed);
//   showPreview(this, printing::pos58Notes(shown), PreviewWait::UntilClosed);
//   showPreview(this, printing::batchDeliveryList(shown, today, worker), PreviewWait::No);
//   printing::exportBoard(shown, path, progress);
namespace ts::printing {

// The day's delivery list on A4: titled "<year>年<month>月<day>日送水单", one
// row per line (姓名, 地址, 产品名称, 送水量, 应收货款, 收款方式, 备注) and
// "送水合计（桶）：" with the sum of 数量.
Printout a4List(const Rows& rows, const QDate& day);

// One note per line on 58 mm roll paper, a page each, titled "桶装水配送信息".
Printout pos58Notes(const Rows& rows);

// What a worker takes on a round, for 成批发货: "日期：" and "送水员：" above
// the lines and their total.
Printout batchDeliveryList(const Rows& rows, const QDate& day, const QString& worker);

// The board to an .xlsx, sheet 销售记录: row 1 the board's titles of every
// field but the first (the id), then each row's same fields. Every cell is a
// text cell, so a document number or a telephone keeps its digits and
// leading zeros without any apostrophe in front. Progress is told per row and
// may abandon the export; no file is left behind then.
Outcome exportBoard(const Rows& rows, const QString& path,
                    const std::function<bool(int done, int total)>& progress = {});

} // namespace ts::printing
