#include "discovery/DatabaseAvailability.h"

namespace flagwright {

DatabaseAvailability AvailabilityOf(const Variant& hasAccess, const Variant& status,
                                    const Variant& userAccess, const Variant& updateability)
{
    using State = DatabaseAvailability::State;
    DatabaseAvailability availability;
    availability.readOnly = updateability == "READ_ONLY";
    // Any word but ONLINE, even one unknown today, means the database cannot be opened; an
    // empty one says nothing.
    if (status && !status->empty() && *status != "ONLINE") {
        availability.state = State::NotOnline;
        availability.status = *status;
    } else if (hasAccess == "0" && userAccess == "RESTRICTED_USER") {
        availability.state = State::Restricted;
    } else if (hasAccess == "0" && userAccess != "SINGLE_USER") {
        // HAS_DBACCESS gives 0 as well for a single-user database that another connection
        // holds: that one is in use, and its run fails rather than being skipped, as it may
        // pass later. NULL (the name is no database any more) is left to the run to fail on.
        availability.state = State::NoAccess;
    }
    return availability;
}

} // namespace flagwright
