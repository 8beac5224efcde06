#include "widgets/action.h"

#include "storage/db.h"
#include "widgets/messages.h"

#include <cstdio>
#include <exception>

namespace ts {

namespace {

void logFailure(const QString& what, const QString& detail = {})
{
    std::fprintf(stderr, "tongshui: %s\n", what.toLocal8Bit().constData());
    if (!detail.isEmpty())
        std::fprintf(stderr, "  %s\n", detail.toLocal8Bit().constData());
}

Outcome failed(QWidget* parent, const QString& text)
{
    Messages::instance().error(parent, text);
    return Outcome::refused(text);
}

} // namespace

QString databaseErrorText()
{
    return QStringLiteral("数据库出错，本次操作没有完成，请稍后再试！！");
}

QString programErrorText()
{
    return QStringLiteral("程序出错，本次操作没有完成！！");
}

Outcome runAction(QWidget* parent, const std::function<Outcome()>& work)
{
    try {
        const Outcome o = work();
        for (const QString& notice : o.notices)
            Messages::instance().information(parent, notice);
        if (!o.ok && !o.message.isEmpty())
            Messages::instance().information(parent, o.message);
        return o;
    } catch (const DbBusy& e) {
        // Its own message is written for the operator; the engine's text
        // was logged by the retries.
        return failed(parent, e.message());
    } catch (const DbError& e) {
        logFailure(e.message(), e.sql());
        return failed(parent, databaseErrorText());
    } catch (const std::exception& e) {
        logFailure(QString::fromLocal8Bit(e.what()));
        return failed(parent, programErrorText());
    } catch (...) {
        logFailure(QStringLiteral("unknown exception"));
        return failed(parent, programErrorText());
    }
}

} // namespace ts
