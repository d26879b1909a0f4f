#pragma once

#include "platform/Recordset.h"

#include <string>

namespace flagwright {

// Whether this login can open a database, and write to it, as the catalog tells it without
// opening it.
struct DatabaseAvailability {
    enum class State {
        MayOpen,    // as far as the catalog tells: the run finds out
        NoAccess,   // the login has no access to it
        NotOnline,  // offline, restoring, recovering, suspect, ...
        Restricted, // RESTRICTED_USER: only its owners and administrators get in
    };
    State state = State::MayOpen;
    std::string status;    // the server's own word for a database that is not online
    bool readOnly = false; // READ_ONLY: a read-only database, standby copy or snapshot
};

// From HAS_DBACCESS(name) and DATABASEPROPERTYEX(name, 'Status'), (name, 'UserAccess') and
// (name, 'Updateability'), each as text or NULL. Only what the server says plainly keeps a
// database from its run.
DatabaseAvailability AvailabilityOf(const Variant& hasAccess, const Variant& status,
                                    const Variant& userAccess, const Variant& updateability);

} // namespace flagwright
