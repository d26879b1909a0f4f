#pragma once

#include <string>

namespace flagwright {

// The combo box the operator picks or types a database name in; text is UTF-8.
class ComboBox {
public:
    virtual ~ComboBox() = default;
    // The text field as it stands, typed or picked, possibly empty.
    virtual std::string Text() const = 0;
    // Removes every item and empties the text field.
    virtual void Clear() = 0;
    // Appends one item at the end of the list; the text field stays as it is.
    virtual void AddItem(const std::string& item) = 0;
};

} // namespace flagwright
