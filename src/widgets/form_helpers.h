#pragma once

#include <QString>

#include <functional>
#include <initializer_list>
#include <utility>

class QBoxLayout;
class QPushButton;
class QWidget;

namespace ts {

// A push button whose objectName is its caption, as tests find them. Buttons
// are not auto-default: Enter belongs to the one button a form makes default.
QPushButton* makeButton(const QString& caption, std::function<void()> onClick = {});

using ButtonSpec = std::pair<QString, std::function<void()>>;

// A row (or column) of such buttons, right-aligned (or top-aligned).
QBoxLayout* buttonRow(std::initializer_list<ButtonSpec> buttons, Qt::Orientation orientation = Qt::Horizontal);

} // namespace ts
