#include "SkipReason.h"

#include "DisplayedText.h"

namespace flagwright::cli {

std::optional<std::string> SkipReason(const DatabaseAvailability& availability)
{
    switch (availability.state) {
    case DatabaseAvailability::State::NoAccess:
        return "no access for this login";
    case DatabaseAvailability::State::NotOnline:
        return "not online (" + Displayed(availability.status) + ")";
    case DatabaseAvailability::State::MayOpen:
        break;
    }
    return std::nullopt;
}

} // namespace flagwright::cli
