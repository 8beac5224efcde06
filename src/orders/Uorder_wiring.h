#pragma once

namespace ts {

class Tmain;

// The order forms: registered with the form registry, hooked to the main
// window's 手工订水 entries and to the customer list's 手工开单.
void wireOrderForms(Tmain& main);

} // namespace ts
