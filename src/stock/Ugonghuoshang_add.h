#pragma once

#include "stock/suppliers.h"
#include "widgets/form_registry.h"

class QLineEdit;

namespace ts {

// The supplier form "增加供货商": one address, written on 确定.
class TFgonghuoshang_add : public Form {
    Q_OBJECT
public:
    explicit TFgonghuoshang_add(QWidget* parent = nullptr);

    void startNew();
    // `key` is the list's row key of the supplier.
    void startEdit(const QString& key);

    Supplier input() const;

public slots:
    void save();  // 确定

private:
    void showSupplier(const Supplier& s);

    QLineEdit* name_;
    QLineEdit* contact_;
    QLineEdit* phone_;
    QLineEdit* mobile_;
    QLineEdit* address_;
    QString key_;  // empty: a new supplier
};

} // namespace ts
