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
    case DatabaseAvailability::State::Restricted:
        return "restricted to its owners and administrators";
    case DatabaseAvailability::State::MayOpen:
        break;
    }
    return std::nullopt;
}

std::optional<std::string> UpdateSkipReason(const DatabaseAvailability& availability)
{
    if (auto reason = SkipReason(availability))
        return reason;
    if (availability.readOnly)
        return "read-only";
    return std::nullopt;
}

} // namespace flagwright::cli
