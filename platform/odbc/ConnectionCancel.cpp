#include "platform/odbc/ConnectionCancel.h"

namespace flagwright::odbc {

#ifdef _WIN32
void CancelConnectionCall(SQLHDBC link)
{
    // Looked up, not imported: the program also starts where odbc32 lacks it.
    using CancelHandle = SQLRETURN(SQL_API*)(SQLSMALLINT, SQLHANDLE);
    static const auto cancel = reinterpret_cast<CancelHandle>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"odbc32.dll"), "SQLCancelHandle")));
    if (cancel)
        cancel(SQL_HANDLE_DBC, link);
}
#else
void CancelConnectionCall(SQLHDBC) {}
#endif

} // namespace flagwright::odbc
