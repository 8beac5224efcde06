#pragma once

#include "widgets/form_registry.h"

class QLineEdit;

namespace ts {

// "修改密码": the logged-in operator changes his own password.
class Txiugai_mima : public Form {
    Q_OBJECT
public:
    explicit Txiugai_mima(QWidget* parent = nullptr);

public slots:
    void changePassword();  // 确定

protected:
    void reload() override;

private:
    QLineEdit* old_;
    QLineEdit* fresh_;
    QLineEdit* confirm_;
};

} // namespace ts
