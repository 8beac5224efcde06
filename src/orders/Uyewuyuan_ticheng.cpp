#include "orders/Uyewuyuan_ticheng.h"

#include "app/app_context.h"
#include "session/login_values.h"
#include "storage/db.h"
#include "widgets/action.h"
#include "widgets/data_grid.h"
#include "widgets/form_helpers.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace ts {

TFyewuyuan_ticheng::TFyewuyuan_ticheng(QWidget* parent) : Form(parent)
{
    setObjectName(QStringLiteral("TFyewuyuan_ticheng"));
    setWindowTitle(QStringLiteral("业务员提成查询"));

    byTime_ = makeCheckBox(QStringLiteral("按时间"));
    const QString format = QStringLiteral("yyyy%1MM%1dd").arg(LoginValues::current().dateSeparator);
    auto dateEdit = [&](const QString& name) {
        QDateEdit* d = makeDateEdit(name);
        d->setDate(QDate::currentDate());
        d->setDisplayFormat(format);
        return d;
    };
    from_ = dateEdit(QStringLiteral("起始日期"));
    to_ = dateEdit(QStringLiteral("到"));
    QPushButton* search = makeButton(QStringLiteral("查询"), [this] { this->search(); });
    auto* top = new QHBoxLayout;
    top->addWidget(byTime_);
    top->addWidget(from_);
    top->addWidget(new QLabel(QStringLiteral("到")));
    top->addWidget(to_);
    top->addWidget(search);
    top->addStretch();

    totals_ = new DataGrid;
    totals_->setColumns({QStringLiteral("业务员"), QStringLiteral("客户购买数量")});
    totals_->setFooterText(QStringLiteral("业务员"), QStringLiteral("合计"));
    totals_->setFooterSum(QStringLiteral("客户购买数量"));
    auto* totalsBox = new QGroupBox(QStringLiteral("业务汇总"));
    totalsBox->setObjectName(QStringLiteral("业务汇总"));
    (new QVBoxLayout(totalsBox))->addWidget(totals_);

    lines_ = new DataGrid;
    lines_->setColumns({QStringLiteral("单据编号"), QStringLiteral("购物日期"), QStringLiteral("区域"),
                        QStringLiteral("小区域"), QStringLiteral("单位"), QStringLiteral("手工编号"),
                        QStringLiteral("客户姓名"), QStringLiteral("产品名称"), QStringLiteral("数量"),
                        QStringLiteral("收款方式"), QStringLiteral("应付货款"), QStringLiteral("实付货款"),
                        QStringLiteral("实付票数"), QStringLiteral("签单数"), QStringLiteral("签单人姓名"),
                        QStringLiteral("配送工"), QStringLiteral("地址"), QStringLiteral("电话"),
                        QStringLiteral("时间"), QStringLiteral("操作员"), QStringLiteral("业务员")});
    auto* linesBox = new QGroupBox(QStringLiteral("业务明细"));
    linesBox->setObjectName(QStringLiteral("业务明细"));
    (new QVBoxLayout(linesBox))->addWidget(lines_);

    auto* grids = new QHBoxLayout;
    grids->addWidget(totalsBox, 1);
    grids->addWidget(linesBox, 3);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(grids);

    connect(totals_, &DataGrid::currentRowChanged, this, &TFyewuyuan_ticheng::salespersonChosen);
    resize(1000, 520);
}

OrderPeriod TFyewuyuan_ticheng::period() const
{
    return {byTime_->isChecked(), from_->date(), to_->date()};
}

void TFyewuyuan_ticheng::reload()
{
    search();
}

void TFyewuyuan_ticheng::search()
{
    lines_->closeData();
    const bool read = runAction(
        this, [this] { totals_->load(appDb(), CommissionReports(appDb()).salespersonTotals(period())); });
    if (!read) {
        totals_->closeData();
        return;
    }
    // The details always belong to the salesperson the grid marks, even when
    // the new totals leave the mark on the same row number.
    salespersonChosen(totals_->currentRow());
}

void TFyewuyuan_ticheng::salespersonChosen(int row)
{
    if (row < 0) {
        lines_->closeData();
        return;
    }
    const bool read = runAction(this, [&] {
        lines_->load(appDb(),
                     CommissionReports(appDb()).salespersonLines(totals_->text(row, QStringLiteral("业务员")), period()));
    });
    if (!read)
        lines_->closeData();
}

} // namespace ts
