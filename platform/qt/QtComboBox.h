#pragma once

#include "platform/ComboBox.h"

class QComboBox;

namespace flagwright {

// The operator's combo box on a QComboBox.
class QtComboBox : public ComboBox {
public:
    explicit QtComboBox(QComboBox& box) : box_(box) {}

    std::string Text() const override;
    void Clear() override;
    // Appends an item and leaves the text field as it was, even when the list was empty.
    void AddItem(const std::string& item) override;

private:
    QComboBox& box_;
};

} // namespace flagwright
