#pragma once

#include "widgets/form_registry.h"

class QLineEdit;

namespace ts {

class DataGrid;

// "客户类型设置": the customer types and the commission each one gives.
class TFkehu_leixing : public Form {
    Q_OBJECT
public:
    explicit TFkehu_leixing(QWidget* parent = nullptr);

public slots:
    void addType();
    void removeType();
    void applyToCustomers();  // 成批根据设置修改客户提成

protected:
    void reload() override;

private:
    void showTypes();

    QLineEdit* type_;
    QLineEdit* commission_;
    DataGrid* grid_;
};

} // namespace ts
