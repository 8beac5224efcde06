#include "app/Uhuanying.h"

#include "session/login_values.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <QGuiApplication>
#include <QLabel>
#include <QPixmap>
#include <QScreen>
#include <QVBoxLayout>
#include <QWindow>

namespace ts {

bool isBuiltInBrand(const QString& shortName)
{
    return shortName == QStringLiteral("澄源") || shortName == QStringLiteral("清泉") || shortName == QStringLiteral("百川");
}

Thuanying::Thuanying(const QString& programDir, QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("Thuanying"));
    const LoginValues& lv = LoginValues::current();

    auto* picture = new QLabel;
    picture->setObjectName(QStringLiteral("图片"));
    const QPixmap pixmap(QDir(programDir).filePath(QStringLiteral("main.jpg")));
    if (!pixmap.isNull()) {
        picture->setPixmap(pixmap);
    } else {
        picture->setMinimumSize(480, 200);
        picture->setStyleSheet(QStringLiteral("background:#2a6fb0;"));
    }

    const bool brand = isBuiltInBrand(lv.companyShortName);
    auto* line1 = new QLabel(brand ? lv.companyShortName + QStringLiteral("rivodaz2010 ") : QString());
    line1->setObjectName(QStringLiteral("第一行"));
    auto* line2 = new QLabel(brand ? lv.companyFullName : QString());
    line2->setObjectName(QStringLiteral("第二行"));
    QFont f = line1->font();
    f.setPointSize(f.pointSize() + 6);
    f.setBold(true);
    line1->setFont(f);
    for (QLabel* l : {line1, line2})
        l->setAlignment(Qt::AlignCenter);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 12);
    layout->addWidget(picture);
    layout->addWidget(line1);
    layout->addWidget(line2);

    adjustSize();
    if (const QScreen* s = QGuiApplication::primaryScreen())
        move(s->geometry().center() - rect().center());
}

} // namespace ts

namespace ts {

void Thuanying::showWhileWorking()
{
    show();
    raise();
    // Without waiting the start-up work holds the event loop before the
    // first paint, and the window is never seen.
    QElapsedTimer waited;
    waited.start();
    while (!(windowHandle() && windowHandle()->isExposed()) && waited.elapsed() < 1000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    repaint();
    QCoreApplication::processEvents();
    shown_.start();
}

void Thuanying::closeWhenSeen(int ms)
{
    const qint64 left = shown_.isValid() ? ms - shown_.elapsed() : 0;
    if (left > 0) {
        QEventLoop wait;
        QTimer::singleShot(int(left), &wait, &QEventLoop::quit);
        wait.exec();
    }
    hide();
}

} // namespace ts
