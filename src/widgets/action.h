#pragma once

#include "storage/outcome.h"

#include <QString>

#include <concepts>
#include <functional>
#include <type_traits>

class QWidget;

namespace ts {

// What the operator is told when the database refused an operation for a
// reason of its own; the engine's text goes to standard error.
QString databaseErrorText();
// What the operator is told when something else went wrong in the program.
QString programErrorText();

// Runs what a slot does, so that every window tells the operator the same
// way: a refusal of the logic as information (with its notices), a database
// failure as an error box, another station in the way with its own message.
// No exception leaves: the operation stops, the program goes on, and what a
// transaction had written is rolled back by the transaction itself.
// Returns the outcome; a failure comes back refused with the text shown.
Outcome runAction(QWidget* parent, const std::function<Outcome()>& work);

// The same for work that cannot be refused, only fail.
template <class Work>
    requires std::is_void_v<std::invoke_result_t<Work&>>
bool runAction(QWidget* parent, Work&& work)
{
    return runAction(parent, std::function<Outcome()>([&work] {
               work();
               return Outcome::done();
           }))
        .ok;
}

} // namespace ts
