#pragma once

namespace ts {

class Tmain;

// The worker, salesperson and commission windows: registered with the form
// registry and hooked to their main-menu entries.
void wireStaffForms(Tmain& main);

} // namespace ts
