#pragma once
// A message the production records have for the user. An empty caption means the text is a
// database error outside a record, for the application's general error handler.

#include <QString>

namespace zr::production
{

struct Notice {
    QString caption;
    QString text;
    bool stop = false; // the program ends after showing it (exclamation icon; error icon otherwise)
    bool isEmpty() const { return text.isEmpty(); }
};

} // namespace zr::production
