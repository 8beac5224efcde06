#pragma once

#include "orders/commission_reports.h"
#include "widgets/form_registry.h"

class QCheckBox;
class QDateEdit;

namespace ts {

class DataGrid;

// "业务员提成查询": how many units each salesperson's customers bought, and
// the lines behind a chosen salesperson.
class TFyewuyuan_ticheng : public Form {
    Q_OBJECT
public:
    explicit TFyewuyuan_ticheng(QWidget* parent = nullptr);

    DataGrid* totals() const { return totals_; }
    DataGrid* lines() const { return lines_; }

public slots:
    void search();  // 查询

protected:
    void reload() override;

private:
    OrderPeriod period() const;
    void salespersonChosen(int row);

    QCheckBox* byTime_;
    QDateEdit* from_;
    QDateEdit* to_;
    DataGrid* totals_;
    DataGrid* lines_;
};

} // namespace ts
