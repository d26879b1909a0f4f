#include "corrections/KindCodeCorrections.h"

namespace flagwright {

std::string CorrectionStatement(const KindCodeCorrection& correction)
{
    std::string statement = "UPDATE L_Kind SET Direct = ";
    statement += static_cast<char>('0' + correction.Direct);
    statement += ", LineOverhead = ";
    statement += static_cast<char>('0' + correction.LineOverhead);
    statement += " WHERE KindCode = '";
    statement += correction.KindCode;
    statement += '\'';
    return statement;
}

void ApplyKindCodeCorrections(ConnectionSlot& cnDatabase, std::size_t& completed)
{
    completed = 0;
    for (const KindCodeCorrection& correction : KindCodeCorrections) {
        cnDatabase->Execute(CorrectionStatement(correction)); // record set released unread
        ++completed;
    }
}

} // namespace flagwright
