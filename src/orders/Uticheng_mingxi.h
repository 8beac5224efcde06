#pragma once

#include "widgets/form_registry.h"

#include <QDate>

class QLabel;

namespace ts {

class DataGrid;

// "提成明细": the order lines one delivery worker carried in a period, opened
// from the delivery commission report. It only shows; it has no actions.
class Tticheng_mingxi : public Form {
    Q_OBJECT
public:
    explicit Tticheng_mingxi(QWidget* parent = nullptr);

    // The worker and the report's period; the lines are read now and on
    // every later showing.
    void showWorker(const QString& worker, const QDate& from, const QDate& to);

    DataGrid* grid() const { return grid_; }

protected:
    void reload() override;

private:
    QLabel* worker_;
    DataGrid* grid_;
    QString workerName_;
    QDate from_;
    QDate to_;
};

} // namespace ts
