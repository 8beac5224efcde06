#include "app/Ucaozuoyuan_list.h"

#include "app/Ucaozuoyuan_add.h"
#include "app/app_context.h"
#include "session/login_values.h"
#include "session/operators.h"
#include "widgets/action.h"
#include "widgets/form_helpers.h"
#include "widgets/messages.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QListWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace ts {

namespace {
constexpr int kGroupRole = Qt::UserRole + 1;
constexpr int kIdRole = Qt::UserRole + 2;
} // namespace

Tcaozuoyuan_list::Tcaozuoyuan_list(QWidget* parent) : Form(parent)
{
    setObjectName(QStringLiteral("Tcaozuoyuan_list"));
    setWindowTitle(QStringLiteral("操作员列表"));
    tree_ = new QTreeWidget;
    tree_->setObjectName(QStringLiteral("操作员"));
    tree_->setHeaderHidden(true);
    checks_ = new QListWidget;
    checks_->setObjectName(QStringLiteral("权限"));

    QBoxLayout* buttons = buttonRow({{QStringLiteral("新建"), [this] { newOperator(); }},
                                     {QStringLiteral("修改"), [this] { editOperator(); }},
                                     {QStringLiteral("删除"), [this] { deleteOperator(); }},
                                     {QStringLiteral("退出"), [this] { accept(); }}},
                                    Qt::Vertical);

    auto* layout = new QHBoxLayout(this);
    layout->addWidget(tree_, 2);
    layout->addWidget(checks_, 3);
    layout->addLayout(buttons);
    resize(640, 460);

    connect(tree_, &QTreeWidget::currentItemChanged, this, &Tcaozuoyuan_list::groupSelected);
    connect(checks_, &QListWidget::itemChanged, this, &Tcaozuoyuan_list::checkClicked);
}

void Tcaozuoyuan_list::reload()
{
    tree_->clear();
    checks_->clear();
    for (const OperatorRow& row : Operators(appDb()).list()) {
        auto* node = new QTreeWidgetItem(tree_, {row.name});
        node->setData(0, kIdRole, row.id);
        for (const RightsGroup& g : rightsGroups()) {
            auto* child = new QTreeWidgetItem(node, {QStringLiteral("%1. %2").arg(g.number).arg(g.name)});
            child->setData(0, kGroupRole, g.number);
        }
    }
}

QString Tcaozuoyuan_list::operatorOf(QTreeWidgetItem* node, int* group) const
{
    *group = 0;
    if (!node)
        return {};
    if (node->parent()) {
        *group = node->data(0, kGroupRole).toInt();
        return node->parent()->text(0);
    }
    return node->text(0);
}

void Tcaozuoyuan_list::groupSelected()
{
    const QSignalBlocker block(checks_);
    checks_->clear();
    int group = 0;
    const QString name = operatorOf(tree_->currentItem(), &group);
    if (group == 0)
        return;
    QString rights;
    if (!runAction(this, [&] { rights = Operators(appDb()).rights(name).value(group - 1); }))
        return;
    const QStringList& items = rightsGroups().at(group - 1).items;
    for (int i = 0; i < items.size(); ++i) {
        auto* item = new QListWidgetItem(items.at(i), checks_);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(i < rights.size() && rights.at(i) == QLatin1Char('1') ? Qt::Checked : Qt::Unchecked);
    }
}

void Tcaozuoyuan_list::checkClicked(QListWidgetItem*)
{
    int group = 0;
    const QString name = operatorOf(tree_->currentItem(), &group);
    if (group == 0)
        return;
    QList<bool> checked;
    for (int i = 0; i < checks_->count(); ++i)
        checked << (checks_->item(i)->checkState() == Qt::Checked);
    runAction(this, [&] {
        const QString written = Operators(appDb()).setGroupRights(name, group, checked);
        // Only the logged-in operator's own strings are login values; the
        // main window re-reads them from the table when this list closes.
        LoginValues& lv = LoginValues::current();
        if (name == lv.operatorName && group <= lv.rights.size())
            lv.rights[group - 1] = written;
    });
}

void Tcaozuoyuan_list::openEditor(qint64 id, const QString& name)
{
    auto* editor = FormRegistry::instance().get<Tcaozuoyuan_add>();
    if (!editor)
        return;
    if (id == 0)
        editor->editNew();
    else
        editor->editOperator(id, name);
    execOver(editor, this);
    runAction(this, [&] { reload(); });
}

void Tcaozuoyuan_list::newOperator()
{
    openEditor(0, {});
}

void Tcaozuoyuan_list::editOperator()
{
    QTreeWidgetItem* node = tree_->currentItem();
    if (!node)
        return;
    if (node->parent()) {
        Messages::instance().information(this, QStringLiteral("请选择低一层节点"));
        return;
    }
    openEditor(node->data(0, kIdRole).toLongLong(), node->text(0));
}

void Tcaozuoyuan_list::deleteOperator()
{
    QTreeWidgetItem* node = tree_->currentItem();
    if (!node)
        return;
    const LoginValues& lv = LoginValues::current();
    if (!node->parent() && node->text(0) == lv.operatorName) {
        Messages::instance().information(this, QStringLiteral("不能删除自己"));
        return;
    }
    if (node->parent()) {
        Messages::instance().information(this, QStringLiteral("请选择低一层节点"));
        return;
    }
    if (!Messages::instance().question(this, lv.companyShortName + QStringLiteral("razeroz"),
                                       QStringLiteral("确实要删除吗？")))
        return;
    if (!runAction(this, [&] { return Operators(appDb()).remove(node->text(0), lv.operatorName); }))
        return;
    delete node;
    checks_->clear();
}

} // namespace ts
