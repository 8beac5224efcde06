#pragma once

#include "stock/warehouses.h"
#include "widgets/form_registry.h"

#include <QMap>

#include <memory>

class QLineEdit;
class QPushButton;

namespace ts {

class DataGrid;

// The warehouse window "库房管理": the list of 库房名称 and one input for the
// row being appended or edited.
class Tkufang_guanli : public Form {
    Q_OBJECT
public:
    explicit Tkufang_guanli(QWidget* parent = nullptr);
    ~Tkufang_guanli() override;

    DataGrid* grid() const { return grid_; }

public slots:
    void addWarehouse();     // 新增
    void editWarehouse();    // 修改
    void saveWarehouse();    // 保存
    void cancelEdit();       // 取消
    void deleteWarehouse();  // 删除

protected:
    void reload() override;

private:
    qint64 currentId() const;
    void showState();
    void showCurrent();
    void reloadKeeping(qint64 id, int fallbackRow = 0);

    std::unique_ptr<WarehouseEditor> editor_;
    DataGrid* grid_;
    QLineEdit* name_;
    QMap<WarehouseEditor::Button, QPushButton*> buttons_;
};

} // namespace ts
