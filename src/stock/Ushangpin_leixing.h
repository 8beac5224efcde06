#pragma once

#include "widgets/form_registry.h"

class QLineEdit;

namespace ts {

class DataGrid;

// The product types "商品类型", the choices of the product form's 产品类型.
class TFshangpin_leixing : public Form {
    Q_OBJECT
public:
    explicit TFshangpin_leixing(QWidget* parent = nullptr);

    DataGrid* grid() const { return grid_; }

public slots:
    void addType();     // 添加
    void removeType();  // 删除

protected:
    void reload() override;

private:
    DataGrid* grid_;
    QLineEdit* type_;
};

} // namespace ts
