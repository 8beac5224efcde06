#include "widgets/form_helpers.h"

#include <QBoxLayout>
#include <QPushButton>

namespace ts {

QPushButton* makeButton(const QString& caption, std::function<void()> onClick)
{
    auto* b = new QPushButton(caption);
    b->setObjectName(caption);
    b->setAutoDefault(false);
    if (onClick)
        QObject::connect(b, &QPushButton::clicked, b, std::move(onClick));
    return b;
}

QBoxLayout* buttonRow(std::initializer_list<ButtonSpec> buttons, Qt::Orientation orientation)
{
    auto* row = new QBoxLayout(orientation == Qt::Horizontal ? QBoxLayout::LeftToRight : QBoxLayout::TopToBottom);
    if (orientation == Qt::Horizontal)
        row->addStretch();
    for (const auto& [caption, onClick] : buttons)
        row->addWidget(makeButton(caption, onClick));
    if (orientation == Qt::Vertical)
        row->addStretch();
    return row;
}

} // namespace ts
