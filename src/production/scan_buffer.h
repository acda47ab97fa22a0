#pragma once
// The barcode scanner's input: characters collect until a carriage return ends a code.

#include <QByteArray>
#include <QList>

namespace zr::production
{

struct ScanCode {
    bool valid = false; // the code is a decimal number
    int number = 0;     // its value when valid
    QByteArray text;    // the code without surrounding blanks and control characters
};

class ScanBuffer
{
public:
    // Appends the bytes received and returns the codes they complete, in order. Blanks and
    // control characters around a code (the LF of CR LF) are dropped; empty codes are skipped.
    QList<ScanCode> append(const QByteArray& bytes);
    QByteArray pending() const { return buffer_; }

private:
    QByteArray buffer_;
};

} // namespace zr::production
