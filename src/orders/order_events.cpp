#include "orders/order_events.h"

namespace ts {

OrderEvents& OrderEvents::instance()
{
    static OrderEvents events;
    return events;
}

} // namespace ts
