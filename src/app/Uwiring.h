#pragma once

#include <QString>

class QWidget;

namespace ts {

class Tmain;

// Registers every form of the program with the form registry and the main
// window's entries. Each subsystem keeps its own list in a wire…Forms()
// function of its folder; this calls them all.
void wireForms(Tmain& main);

// Shows a registered form modally over `parent`, as most entries do.
void openModal(const QString& formClass, QWidget* parent);
// Shows a registered form and returns at once (the lists that stay open
// beside the order board).
void openModeless(const QString& formClass, QWidget* parent);

} // namespace ts
