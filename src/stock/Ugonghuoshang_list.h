#pragma once

#include "widgets/form_registry.h"

namespace ts {

class DataGrid;

// The supplier list "供货商列表": a plain address list.
class TFgonghuoshang_list : public Form {
    Q_OBJECT
public:
    explicit TFgonghuoshang_list(QWidget* parent = nullptr);

    DataGrid* grid() const { return grid_; }

public slots:
    void addSupplier();     // 添加
    void editSupplier();    // 修改
    void deleteSupplier();  // 删除

protected:
    void reload() override;

private:
    void openSupplierForm(const QString& key);

    DataGrid* grid_;
};

} // namespace ts
