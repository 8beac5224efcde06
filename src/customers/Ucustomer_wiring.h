#pragma once

namespace ts {

class Tmain;

// The customer list, the customer types and the regions, in the form
// registry and behind the main window's entries.
void wireCustomerForms(Tmain& main);

} // namespace ts
