#pragma once

#include "widgets/form_registry.h"

namespace ts {

class DataGrid;
class TFyewuyuan_add;

// "业务员管理": the salespeople, edited one at a time in "业务员信息添加".
class TFyewuyuan_guanli : public Form {
    Q_OBJECT
public:
    explicit TFyewuyuan_guanli(QWidget* parent = nullptr);

    DataGrid* grid() const { return grid_; }

public slots:
    void Button1Click();  // 新建
    void Button2Click();  // 修改
    void Button3Click();  // 删除

protected:
    void reload() override;

private:
    TFyewuyuan_add* editor();

    DataGrid* grid_;
    TFyewuyuan_add* ownEditor_ = nullptr;
};

} // namespace ts
