#pragma once

#include <optional>
#include <string>

namespace flagwright {

enum class MsgBoxStyle : int { OkOnly = 0, Exclamation = 48, Information = 64 };
enum class ScreenPointer : int { Default = 0, Hourglass = 11 };

inline constexpr const char* ApplicationTitle = "Flagwright";

// The combo box the operator picks or types a database name in.
class ComboBox {
public:
    virtual ~ComboBox() = default;
    virtual std::string Text() const = 0;
    // Removes every item and empties the text field.
    virtual void Clear() = 0;
    virtual void AddItem(const std::string& item) = 0;
};

// What the program uses of the window system besides the combo box.
class WindowServices {
public:
    virtual ~WindowServices() = default;
    // Modal: returns when the operator has dismissed the box. Without a title the box shows
    // ApplicationTitle.
    virtual void MsgBox(const std::string& prompt, MsgBoxStyle style,
                        const std::optional<std::string>& title = std::nullopt) = 0;
    virtual void SetScreenPointer(ScreenPointer pointer) = 0;
};

} // namespace flagwright
