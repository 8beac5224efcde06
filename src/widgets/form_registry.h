#pragma once

#include <QDialog>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <functional>
#include <map>
#include <vector>

class QShowEvent;

namespace ts {

// A window of the program. It lives from its first use to the end of the
// program: closing only hides it, and every time it is shown again it
// re-reads its lists, so what it shows is never older than the last opening.
class Form : public QDialog {
    Q_OBJECT
public:
    explicit Form(QWidget* parent = nullptr);

protected:
    // Re-reads what the form lists. Runs before the form becomes visible.
    virtual void reload() {}
    void showEvent(QShowEvent* event) override;
};

// Creates each form on first use and keeps it until clear(). Forms are known
// by their class name without namespace ("Txiaoshou"), the name the rest of
// the program uses for them.
class FormRegistry {
public:
    using Factory = std::function<QWidget*()>;

    FormRegistry() = default;
    ~FormRegistry();
    FormRegistry(const FormRegistry&) = delete;
    FormRegistry& operator=(const FormRegistry&) = delete;

    // Registering a name again replaces its factory; a form already created
    // stays as it is.
    void add(const QString& className, Factory factory);
    template <class T> void add() { add(nameOf<T>(), [] { return new T; }); }

    bool has(const QString& className) const { return factories_.count(className) != 0; }
    bool isCreated(const QString& className) const;
    // The form, created now if this is its first use; nullptr for a name
    // nobody registered.
    QWidget* form(const QString& className);
    template <class T> T* get() { return qobject_cast<T*>(form(nameOf<T>())); }

    // Creates every registered form not created yet, in registration order,
    // telling each name once it exists (login shows these as progress).
    void createAll(const std::function<void(const QString&)>& created = {});
    // Deletes every form, newest first, so a form may still reach the ones
    // created before it while it goes. The program calls it before the
    // application object ends.
    void clear();
    // Deletes every form and forgets every name: the registry as at start.
    void reset();

    QStringList classNames() const { return order_; }

    template <class T> static QString nameOf()
    {
        return QString::fromLatin1(T::staticMetaObject.className()).section(QStringLiteral("::"), -1);
    }

    static FormRegistry& instance();

private:
    std::map<QString, Factory> factories_;
    QStringList order_;
    std::map<QString, QPointer<QWidget>> forms_;
    std::vector<QPointer<QWidget>> created_;  // in creation order
};

} // namespace ts
