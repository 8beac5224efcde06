#pragma once

#include "widgets/form_registry.h"

class QLineEdit;
class QPushButton;

namespace ts {

// "业务员信息添加": one salesperson, new or renamed; written only by 确定.
class TFyewuyuan_add : public Form {
    Q_OBJECT
public:
    explicit TFyewuyuan_add(QWidget* parent = nullptr);

    void startNew();
    void startEdit(const QString& name);

public slots:
    void save();  // 确定

private:
    QLineEdit* name_;
    QPushButton* ok_;
    QString originalName_;
    bool isNew_ = true;
};

} // namespace ts
