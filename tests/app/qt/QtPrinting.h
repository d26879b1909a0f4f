#pragma once

#include <QString>

#include <ostream>

// Lets GoogleTest show Qt's strings in a failure message as text.
inline void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}
