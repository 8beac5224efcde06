#include "widgets/form_helpers.h"

#include "widgets/data_grid.h"
#include "widgets/messages.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDesktopServices>
#include <QDir>
#include <QDialog>
#include <QDoubleValidator>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QStyle>
#include <QUrl>

#include <algorithm>

namespace ts {

namespace {

// "订水(&S)" → "订水", "&O确定" → "O确定" minus the marker: the caption as read.
QString withoutAccelerator(const QString& caption)
{
    static const QRegularExpression marked(QStringLiteral("\\(&.\\)$"));
    return QString(caption).remove(marked).remove(QLatin1Char('&'));
}

} // namespace

QPushButton* makeButton(const QString& caption, std::function<void()> onClick, QWidget* parent)
{
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(withoutAccelerator(caption));
    b->setAutoDefault(false);
    if (onClick)
        QObject::connect(b, &QPushButton::clicked, b, std::move(onClick));
    return b;
}

QLineEdit* makeLineEdit(const QString& name, QWidget* parent)
{
    auto* e = new QLineEdit(parent);
    e->setObjectName(name);
    return e;
}

QComboBox* makeComboBox(const QString& name, QWidget* parent, bool editable)
{
    auto* c = new QComboBox(parent);
    c->setObjectName(name);
    c->setEditable(editable);
    c->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    // An empty box still shows a few characters, so it reads as an input.
    c->setMinimumContentsLength(6);
    return c;
}

QCheckBox* makeCheckBox(const QString& caption, QWidget* parent)
{
    auto* c = new QCheckBox(caption, parent);
    c->setObjectName(withoutAccelerator(caption));
    return c;
}

QDateEdit* makeDateEdit(const QString& name, QWidget* parent)
{
    auto* d = new QDateEdit(parent);
    d->setObjectName(name);
    d->setCalendarPopup(true);
    d->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    return d;
}

void fitWidthTo(QWidget* input, const QString& sample)
{
    // Room for the frame and the text margins besides the text itself.
    const int text = input->fontMetrics().horizontalAdvance(sample);
    input->setMinimumWidth(std::max(input->minimumWidth(), text + 24));
}

void setChoices(QComboBox* box, const QStringList& choices, const QString& keep)
{
    box->clear();
    box->addItems(choices);
    box->setCurrentIndex(box->findText(keep));
    if (box->isEditable())
        box->setEditText(keep);
}

QValidator* moneyValidator(QObject* parent)
{
    auto* v = new QDoubleValidator(parent);
    v->setDecimals(4);
    v->setNotation(QDoubleValidator::StandardNotation);
    return v;
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

void reloadKeepingRow(DataGrid* grid, const std::function<void()>& reload, const QString& keyField,
                      const QVariant& key, int fallbackRow)
{
    reload();
    const int rows = grid->rowCount();
    if (rows == 0)
        return;
    int row = std::clamp(fallbackRow, 0, rows - 1);
    // The grid finds the row itself: a long list is not read page by page.
    if (!keyField.isEmpty() && key.isValid() && !key.isNull()) {
        if (const int found = grid->findRow(keyField, key); found >= 0)
            row = found;
    }
    grid->setCurrentRow(row);
}

int execOver(QDialog* form, QWidget* caller)
{
    QWidget* home = form->parentWidget();
    if (caller && home != caller)
        form->setParent(caller, form->windowFlags() | Qt::Dialog);
    fitToScreen(form);
    const int result = form->exec();
    if (form->parentWidget() != home)
        form->setParent(home, form->windowFlags() | Qt::Dialog);
    return result;
}

bool openWithDesktop(QWidget* parent, const QUrl& url, const QString& noProgram)
{
    if (url.isLocalFile() && !QFileInfo::exists(url.toLocalFile())) {
        Messages::instance().error(parent, QStringLiteral("找不到文件“%1”！！").arg(QDir::toNativeSeparators(url.toLocalFile())));
        return false;
    }
    if (QDesktopServices::openUrl(url))
        return true;
    if (!noProgram.isEmpty()) {
        Messages::instance().error(parent, noProgram);
        return false;
    }
    const QString what = url.isLocalFile() ? QDir::toNativeSeparators(url.toLocalFile()) : url.toString();
    Messages::instance().error(parent, QStringLiteral("没有能打开“%1”的程序，请先安装相应的软件！！").arg(what));
    return false;
}

void fitToScreen(QWidget* window)
{
    QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect room = screen->availableGeometry();
    // The frame and title bar of the window system come on top of the size.
    const int titleBar = window->style()->pixelMetric(QStyle::PM_TitleBarHeight);
    const QSize most(room.width() - 8, room.height() - titleBar - 8);
    if (window->width() > most.width() || window->height() > most.height())
        window->resize(window->size().boundedTo(most));
    QPoint at = window->pos();
    at.setX(std::clamp(at.x(), room.left(), std::max(room.left(), room.right() - window->width())));
    at.setY(std::clamp(at.y(), room.top(), std::max(room.top(), room.bottom() - window->height() - titleBar)));
    if (at != window->pos())
        window->move(at);
}

} // namespace ts
