#pragma once

#include <optional>
#include <string>

namespace flagwright {

enum class MsgBoxStyle : int { OkOnly = 0, Exclamation = 48, Information = 64 };
enum class ScreenPointer : int { Default = 0, Hourglass = 11 };

// What the program uses of the window system besides the combo box.
class WindowServices {
public:
    virtual ~WindowServices() = default;
    // Modal: returns when the operator has dismissed the box. The prompt may hold CR LF line
    // breaks. Without a title the box shows ApplicationTitle (platform/Product.h).
    virtual void MsgBox(const std::string& prompt, MsgBoxStyle style,
                        const std::optional<std::string>& title = std::nullopt) = 0;
    // Over all of the program's windows, from now until it is set again.
    virtual void SetScreenPointer(ScreenPointer pointer) = 0;
};

} // namespace flagwright
