#include "orders/Uticheng_mingxi.h"

#include "app/app_context.h"
#include "orders/commission_reports.h"
#include "storage/db.h"
#include "widgets/action.h"
#include "widgets/data_grid.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace ts {

Tticheng_mingxi::Tticheng_mingxi(QWidget* parent) : Form(parent)
{
    setObjectName(QStringLiteral("Tticheng_mingxi"));
    setWindowTitle(QStringLiteral("提成明细"));

    worker_ = new QLabel;
    worker_->setObjectName(QStringLiteral("配送员"));
    auto* top = new QHBoxLayout;
    top->addWidget(new QLabel(QStringLiteral("配送员：")));
    top->addWidget(worker_);
    top->addStretch();

    grid_ = new DataGrid;
    grid_->setColumns({QStringLiteral("单据编号"), QStringLiteral("购物日期"), QStringLiteral("产品名称"),
                       QStringLiteral("数量"), QStringLiteral("客户编号"), QStringLiteral("客户姓名"),
                       QStringLiteral("提成")});
    grid_->setFooterText(QStringLiteral("单据编号"), QStringLiteral("合计"));
    grid_->setFooterSum(QStringLiteral("提成"));

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(grid_);
    resize(720, 420);
}

void Tticheng_mingxi::showWorker(const QString& worker, const QDate& from, const QDate& to)
{
    workerName_ = worker;
    from_ = from;
    to_ = to;
    runAction(this, [this] { reload(); });
}

void Tticheng_mingxi::reload()
{
    worker_->setText(workerName_);
    if (workerName_.isEmpty() || !from_.isValid() || !to_.isValid()) {
        grid_->closeData();
        return;
    }
    grid_->load(appDb(), CommissionReports(appDb()).workerLines(workerName_, from_, to_));
}

} // namespace ts
