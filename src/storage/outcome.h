#pragma once

#include <QString>
#include <QStringList>

namespace ts {

// What an operation of the logic layer came to: done, or refused with the
// exact text the operator is shown. Notices are texts shown along the way
// that do not stop the operation.
struct Outcome {
    bool ok = true;
    QString message;
    QStringList notices;

    static Outcome done(const QString& message = {}) { return {true, message, {}}; }
    static Outcome refused(const QString& message) { return {false, message, {}}; }
    explicit operator bool() const { return ok; }
};

} // namespace ts
