#pragma once

#include <QRect>
#include <QSize>
#include <QString>

#include <ostream>

// Lets GoogleTest show Qt values in a failure message as text.
inline void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}

inline void PrintTo(const QRect& rect, std::ostream* os)
{
    *os << "QRect(" << rect.x() << ", " << rect.y() << ", " << rect.width() << ", " << rect.height()
        << ")";
}

inline void PrintTo(const QSize& size, std::ostream* os)
{
    *os << "QSize(" << size.width() << ", " << size.height() << ")";
}
