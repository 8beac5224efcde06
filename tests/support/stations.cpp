#include "support/stations.h"

namespace ts::test {

QString StationsFixture::target() const
{
    return db_->engine() == Engine::Sqlite ? db_->target().file : db_->target().display();
}

std::unique_ptr<QProcess> StationsFixture::start(const QStringList& args)
{
    auto p = std::make_unique<QProcess>();
    p->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    p->start(QStringLiteral(TS_STATION_PATH), QStringList{target()} + args);
    EXPECT_TRUE(p->waitForStarted());
    return p;
}

QStringList StationsFixture::linesOf(QProcess& p)
{
    EXPECT_TRUE(p.waitForFinished(180000));
    EXPECT_EQ(p.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(p.exitCode(), 0);
    return QString::fromUtf8(p.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

QList<QStringList> StationsFixture::run(const QList<QStringList>& stations)
{
    std::vector<std::unique_ptr<QProcess>> running;
    for (const QStringList& args : stations)
        running.push_back(start(args));
    QList<QStringList> out;
    for (auto& p : running)
        out << linesOf(*p);
    return out;
}

} // namespace ts::test
