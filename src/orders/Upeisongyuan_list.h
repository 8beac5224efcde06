#pragma once

#include "widgets/form_registry.h"

class QPushButton;

namespace ts {

class DataGrid;
class Tpeisongyuan_add;

// "配送员列表": the delivery workers, edited one at a time in "配送员管理".
class Tpeisongyuan_list : public Form {
    Q_OBJECT
public:
    explicit Tpeisongyuan_list(QWidget* parent = nullptr);

    DataGrid* grid() const { return grid_; }

public slots:
    void Button1Click();  // 新建
    void Button2Click();  // 修改
    void Button3Click();  // 删除

protected:
    void reload() override;

private:
    Tpeisongyuan_add* editor();

    DataGrid* grid_;
    Tpeisongyuan_add* ownEditor_ = nullptr;
};

} // namespace ts
