#pragma once

#include "widgets/name_list_form.h"

namespace ts {

class Tpeisongyuan_add;

// "配送员列表": the delivery workers, edited one at a time in "配送员管理".
class Tpeisongyuan_list : public NameListForm {
    Q_OBJECT
public:
    explicit Tpeisongyuan_list(QWidget* parent = nullptr);

protected:
    Rows rows() override;
    void editNew() override;
    void editNamed(const QString& name) override;
    void removeNamed(const QString& name) override;

private:
    Tpeisongyuan_add* editor();

    Tpeisongyuan_add* ownEditor_ = nullptr;
};

} // namespace ts
