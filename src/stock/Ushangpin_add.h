#pragma once

#include "stock/products.h"
#include "widgets/form_registry.h"

class QComboBox;
class QLineEdit;
class QPushButton;

namespace ts {

// The product form "商品添加": one product's eight fields. The list opens it
// for a new product or on its current one; nothing is written until 确定.
class Tshangpin_add : public Form {
    Q_OBJECT
public:
    explicit Tshangpin_add(QWidget* parent = nullptr);

    void startNew();
    void startEdit(qint64 id);
    // The product 确定 wrote last (new or edited); 0 when none.
    qint64 savedId() const { return savedId_; }

    ProductInput input() const;

public slots:
    void save();  // 确定

protected:
    void reload() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showProduct(const ProductInput& p);
    void fillTypes(const QString& current);

    QLineEdit* name_;
    QLineEdit* unit_;
    QLineEdit* price_;
    QLineEdit* commission_;
    QLineEdit* purchasePrice_;
    QLineEdit* ticketPrice_;
    QComboBox* type_;
    QLineEdit* code_;
    QPushButton* ok_;
    QPushButton* cancel_;

    qint64 editedId_ = 0;  // 0: a new product
    bool dirty_ = false;
    qint64 savedId_ = 0;
};

} // namespace ts
