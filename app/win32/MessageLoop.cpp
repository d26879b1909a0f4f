#include "app/win32/MessageLoop.h"

namespace flagwright {

void Dispatch(HWND window, const MSG& message)
{
    MSG copy = message;
    if (window && IsDialogMessageW(window, &copy))
        return;
    TranslateMessage(&copy);
    DispatchMessageW(&copy);
}

int RunMessageLoop(HWND window)
{
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0)
        Dispatch(window, message);
    return static_cast<int>(message.wParam);
}

} // namespace flagwright
