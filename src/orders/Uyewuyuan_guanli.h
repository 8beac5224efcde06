#pragma once

#include "widgets/name_list_form.h"

namespace ts {

class TFyewuyuan_add;

// "业务员管理": the salespeople, edited one at a time in "业务员信息添加".
class TFyewuyuan_guanli : public NameListForm {
    Q_OBJECT
public:
    explicit TFyewuyuan_guanli(QWidget* parent = nullptr);

protected:
    Rows rows() override;
    void editNew() override;
    void editNamed(const QString& name) override;
    void removeNamed(const QString& name) override;

private:
    TFyewuyuan_add* editor();

    TFyewuyuan_add* ownEditor_ = nullptr;
};

} // namespace ts
