#pragma once

#include <QElapsedTimer>
#include <QWidget>

namespace ts {

// The welcome picture shown while the login window is made.
class Thuanying : public QWidget {
    Q_OBJECT
public:
    // Shows the window and returns once the window system has put it on
    // screen, so that it is seen during the start-up work that follows.
    void showWhileWorking();
    // Waits until the window has been up for `ms` in all, then hides it: a
    // quick start must not make it a flicker nobody can read.
    void closeWhenSeen(int ms);

    explicit Thuanying(const QString& programDir, QWidget* parent = nullptr);

private:
    QElapsedTimer shown_;
};

// The brand words with which the welcome window shows its product line.
bool isBuiltInBrand(const QString& shortName);

} // namespace ts
