#pragma once

#include <QApplication>
#include <QTranslator>

namespace ts {

// The program's application object. Slots run their work through
// runAction; an exception that still reaches the event loop is logged and
// told to the operator here as a last resort instead of ending the program.
class Application : public QApplication {
    Q_OBJECT
public:
    Application(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;

    // Qt's own Chinese texts, so that standard buttons and file dialogs
    // speak the operator's language. False when they are not installed.
    bool installQtTranslation();
    static bool loadQtTranslation(QTranslator& translator);

private:
    QTranslator qtTranslation_;
};

} // namespace ts
