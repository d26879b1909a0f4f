#pragma once

#include "platform/WindowServices.h"

class QWidget;

namespace flagwright {

// Message boxes and the mouse pointer on Qt Widgets.
class QtWindowServices : public WindowServices {
public:
    // Message boxes are modal to the given window.
    explicit QtWindowServices(QWidget* owner) : owner_(owner) {}
    ~QtWindowServices() override;
    QtWindowServices(const QtWindowServices&) = delete;
    QtWindowServices& operator=(const QtWindowServices&) = delete;

    void MsgBox(const std::string& prompt, MsgBoxStyle style,
                const std::optional<std::string>& title = std::nullopt) override;
    // Keeps at most one override cursor of its own, so the requested shape is the one shown.
    void SetScreenPointer(ScreenPointer pointer) override;

private:
    QWidget* owner_;
    bool overriding_ = false;
};

} // namespace flagwright
