#pragma once

#include "widgets/form_registry.h"

class QListWidget;
class QListWidgetItem;
class QTreeWidget;
class QTreeWidgetItem;

namespace ts {

// "操作员列表": every operator with the nine rights groups under it; the
// check list beside it edits the selected group's rights string.
class Tcaozuoyuan_list : public Form {
    Q_OBJECT
public:
    explicit Tcaozuoyuan_list(QWidget* parent = nullptr);

    QTreeWidget* tree() const { return tree_; }
    QListWidget* checks() const { return checks_; }

public slots:
    void newOperator();     // 新建
    void editOperator();    // 修改
    void deleteOperator();  // 删除

protected:
    void reload() override;

private:
    void groupSelected();
    void checkClicked(QListWidgetItem* item);
    // The operator of a node and, for a group node, the group number (0 for
    // an operator node).
    QString operatorOf(QTreeWidgetItem* node, int* group) const;
    void openEditor(qint64 id, const QString& name);

    QTreeWidget* tree_;
    QListWidget* checks_;
};

} // namespace ts
