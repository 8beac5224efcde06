#pragma once

namespace ts {

// Without TZ in the environment the C library looks at /etc/localtime again
// for every local-time conversion, and PostgreSQL hands each date over as
// text that Qt turns into local time: on a long list of orders that file
// access was half of the loading. Naming the same default zone once keeps
// every conversion as it was and lets the library remember the zone. A TZ
// the operator set is left alone. Call before the first date is converted.
void pinLocalTimeZone();

} // namespace ts
