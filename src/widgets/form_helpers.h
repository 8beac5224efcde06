#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>

#include <functional>
#include <initializer_list>
#include <utility>

class QBoxLayout;
class QCheckBox;
class QComboBox;
class QDateEdit;
class QDialog;
class QLineEdit;
class QObject;
class QPushButton;
class QUrl;
class QValidator;
class QWidget;

namespace ts {

class DataGrid;

// Every input and button is named after its caption or label, without the
// accelerator: that is how tests (and the rest of the form) find it.

// A push button. Buttons are not auto-default: Enter belongs to the one
// button a form makes default, or to the input chain.
QPushButton* makeButton(const QString& caption, std::function<void()> onClick = {}, QWidget* parent = nullptr);
QLineEdit* makeLineEdit(const QString& name, QWidget* parent = nullptr);
// Wide enough for the longest of its choices once they are filled.
QComboBox* makeComboBox(const QString& name, QWidget* parent = nullptr, bool editable = false);
QCheckBox* makeCheckBox(const QString& caption, QWidget* parent = nullptr);
// A date with a calendar, shown in the program's date convention.
QDateEdit* makeDateEdit(const QString& name, QWidget* parent = nullptr);

// An input at least wide enough to show `sample` whole.
void fitWidthTo(QWidget* input, const QString& sample);

// Replaces the choices and shows `keep` again when it is among them (an
// editable box shows it anyway).
void setChoices(QComboBox* box, const QStringList& choices, const QString& keep);

// Money is typed to the ten-thousandth of a yuan, as it is stored.
QValidator* moneyValidator(QObject* parent);

using ButtonSpec = std::pair<QString, std::function<void()>>;

// A row (or column) of such buttons, right-aligned (or top-aligned).
QBoxLayout* buttonRow(std::initializer_list<ButtonSpec> buttons, Qt::Orientation orientation = Qt::Horizontal);

// Reloads a list and puts the current row back on the row whose `keyField`
// holds `key` (the row it was on, or one just saved); failing that on
// `fallbackRow` (clamped to the list), or nowhere when the list is empty.
void reloadKeepingRow(DataGrid* grid, const std::function<void()>& reload, const QString& keyField,
                      const QVariant& key, int fallbackRow = 0);

// Shows a shared form modally over `caller`, borrowing the caller as parent
// only while it is up: a caller destroyed on close must not take the shared
// form with it. Returns exec()'s result.
int execOver(QDialog* form, QWidget* caller);

// Opens a document or web address with the desktop's program for it; tells
// the operator in a box when the file is missing or nothing could open it
// (`noProgram` in place of the general text, when the caller has its own).
bool openWithDesktop(QWidget* parent, const QUrl& url, const QString& noProgram = {});

// Keeps a window within the screen it opens on: no larger than the space
// the screen leaves for windows, and with its title bar on screen.
void fitToScreen(QWidget* window);

} // namespace ts
