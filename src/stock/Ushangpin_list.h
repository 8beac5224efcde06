#pragma once

#include "widgets/form_registry.h"

class QPushButton;

namespace ts {

class DataGrid;

// The product list "商品列表": the products with their prices and
// commission; new and changed products go through the product form.
class Tshangpin_list : public Form {
    Q_OBJECT
public:
    explicit Tshangpin_list(QWidget* parent = nullptr);

    DataGrid* grid() const { return grid_; }

public slots:
    void newProduct();     // 新建
    void editProduct();    // 修改
    void deleteProduct();  // 删除
    void editTypes();      // 类型设置

protected:
    void reload() override;

private:
    void openProductForm(qint64 id);

    DataGrid* grid_;
};

} // namespace ts
