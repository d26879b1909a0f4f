#include "cli/SkipReason.h"

#include "cli/DisplayedText.h"

namespace flagwright::cli {

std::optional<std::string> SkipReason(const DatabaseAvailability& availability)
{
    switch (availability.state) {
    case DatabaseAvailability::State::NoAccess:
        return "no access for this login";
    case DatabaseAvailability::State::NotOnline: {
        std::string reason = "not online ("; // appended to: GCC 12 -Wrestrict
        reason += Displayed(availability.status);
        reason += ')';
        return reason;
    }
    case DatabaseAvailability::State::MayOpen:
        break;
    }
    return std::nullopt;
}

} // namespace flagwright::cli
