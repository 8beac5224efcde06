#pragma once

#include "widgets/form_registry.h"

class QLineEdit;
class QPushButton;

namespace ts {

// The operator form "操作员添加": a new operator, or the name and password
// of an existing one.
class Tcaozuoyuan_add : public Form {
    Q_OBJECT
public:
    explicit Tcaozuoyuan_add(QWidget* parent = nullptr);

    // Empty for a new operator; else the row to change.
    void editNew();
    void editOperator(qint64 id, const QString& name);

public slots:
    void save();  // 确定

private:
    qint64 id_ = 0;
    QLineEdit* name_;
    QLineEdit* password_;
    QLineEdit* repeat_;
    QPushButton* ok_;
};

} // namespace ts
