#pragma once

#include "storage/db.h"
#include "storage/outcome.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace ts {

// One menu group of the rights editor: its number (the rights column
// right<number>), its name and its items in position order.
struct RightsGroup {
    int number;
    QString name;
    QStringList items;
};
const QList<RightsGroup>& rightsGroups();

// What a new operator gets in each rights column: nothing allowed.
QString noRights();

struct OperatorRow {
    qint64 id = 0;
    QString name;
};

// The people who may log in, their passwords and rights (table 登陆).
class Operators {
public:
    explicit Operators(Db& db) : db_(db) {}

    QList<OperatorRow> list();
    std::optional<OperatorRow> find(const QString& name);
    // right1 … right9 of the operator, empty texts for a missing row.
    QStringList rights(const QString& name);

    // Checks a login. On a match returns the nine rights strings; a password
    // an older database still holds as typed is replaced by its hash there
    // and then, so plain text does not outlive the first login.
    std::optional<QStringList> authenticate(const QString& name, const QString& password);

    // Rewrites one group's rights string from its check marks, one
    // character per item; returns the string written.
    QString setGroupRights(const QString& name, int group, const QList<bool>& checked);

    Outcome add(const QString& name, const QString& password, const QString& repeat);
    // An empty password (and repetition) keeps the stored one: the form
    // cannot show a hash back to the operator.
    // `loggedIn`, the logged-in operator's name, follows when he renames
    // himself: the password change and the rights reload find him by name.
    Outcome change(qint64 id, const QString& name, const QString& password, const QString& repeat,
                   QString* loggedIn = nullptr);
    // Refuses the logged-in operator; the form has asked already.
    Outcome remove(const QString& name, const QString& loggedIn);
    Outcome changePassword(const QString& loggedIn, const QString& oldPassword, const QString& newPassword,
                           const QString& confirm);

private:
    Db& db_;
};

} // namespace ts
