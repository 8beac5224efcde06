#pragma once

#include "widgets/form_registry.h"

#include "storage/rows.h"
#include <QStringList>

namespace ts {

class DataGrid;

// What the delivery-worker and salesperson lists share: a grid of names
// with 新建 / 修改 / 删除 / 退出, each row edited in a form of its own and
// found by its 姓名.
class StaffList : public Form {
    Q_OBJECT
public:
    DataGrid* grid() const { return grid_; }

public slots:
    void Button1Click();  // 新建
    void Button2Click();  // 修改
    void Button3Click();  // 删除

protected:
    StaffList(const QString& objectName, const QString& title, const QString& gridName, const QStringList& columns,
              QWidget* parent);
    void reload() override;

    virtual Rows rows() = 0;
    virtual void editNew() = 0;
    virtual void editNamed(const QString& name) = 0;
    virtual void removeNamed(const QString& name) = 0;

private:
    QString currentName() const;

    DataGrid* grid_;
};

} // namespace ts
