#include "widgets/form_registry.h"

#include "widgets/action.h"
#include "widgets/form_helpers.h"

#include <QCoreApplication>
#include <QShowEvent>

namespace ts {

Form::Form(QWidget* parent)
    : QDialog(parent)
{
    // Operators minimise and enlarge these windows like any other.
    setWindowFlags(windowFlags() | Qt::WindowMinMaxButtonsHint);
    setAttribute(Qt::WA_DeleteOnClose, false);
}

void Form::showEvent(QShowEvent* event)
{
    // A spontaneous show is the window system restoring a minimised window;
    // the form was already open and keeps what the operator is working on.
    if (!event->spontaneous()) {
        // A list that cannot be read is told like any failed action; the
        // form still opens, with what it could read.
        runAction(this, [this] { reload(); });
        fitToScreen(this);
    }
    QDialog::showEvent(event);
}

FormRegistry::~FormRegistry()
{
    // Widgets cannot be deleted once the application object is gone; at that
    // point the process is ending anyway.
    if (QCoreApplication::instance())
        clear();
}

void FormRegistry::add(const QString& className, Factory factory)
{
    if (!has(className))
        order_ << className;
    factories_[className] = std::move(factory);
}

bool FormRegistry::isCreated(const QString& className) const
{
    const auto it = forms_.find(className);
    return it != forms_.end() && it->second;
}

QWidget* FormRegistry::form(const QString& className)
{
    if (isCreated(className))
        return forms_[className];
    const auto f = factories_.find(className);
    if (f == factories_.end())
        return nullptr;
    QWidget* w = f->second();
    forms_[className] = w;
    created_.emplace_back(w);
    return w;
}

void FormRegistry::createAll(const std::function<void(const QString&)>& created)
{
    for (const QString& name : std::as_const(order_)) {
        if (isCreated(name))
            continue;
        form(name);
        if (created)
            created(name);
    }
}

void FormRegistry::clear()
{
    // A form owned by another form goes with its owner; the guarded pointers
    // notice that and it is not deleted twice.
    while (!created_.empty()) {
        QPointer<QWidget> w = created_.back();
        created_.pop_back();
        delete w.data();
    }
    forms_.clear();
}

void FormRegistry::reset()
{
    clear();
    factories_.clear();
    order_.clear();
}

FormRegistry& FormRegistry::instance()
{
    static FormRegistry registry;
    return registry;
}

} // namespace ts
