#pragma once

#include <QApplication>

namespace ts {

// The program's application object. A statement the engine refuses inside
// an event handler that does not catch it reaches the operator here, with
// the engine's text, instead of ending the program: the operation stops,
// the program goes on.
class Application : public QApplication {
    Q_OBJECT
public:
    Application(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};

} // namespace ts
