#pragma once

#include "widgets/form_registry.h"

#include "storage/rows.h"
#include <QStringList>

namespace ts {

class DataGrid;

// The base of a list of names (delivery workers, salespeople): a grid with
// 新建 / 修改 / 删除 / 退出, each row edited in a form of its own and found
// by its 姓名. The subclass is the form; this holds no rule of its own.
class NameListForm : public Form {
    Q_OBJECT
public:
    DataGrid* grid() const { return grid_; }

public slots:
    void addNew();         // 新建
    void editCurrent();    // 修改
    void deleteCurrent();  // 删除

protected:
    NameListForm(const QString& objectName, const QString& title, const QString& gridName, const QStringList& columns,
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
