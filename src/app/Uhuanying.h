#pragma once

#include <QWidget>

namespace ts {

// The welcome picture shown while the login window is made.
class Thuanying : public QWidget {
    Q_OBJECT
public:
    explicit Thuanying(const QString& programDir, QWidget* parent = nullptr);
};

// The brand words with which the welcome window shows its product line.
bool isBuiltInBrand(const QString& shortName);

} // namespace ts
