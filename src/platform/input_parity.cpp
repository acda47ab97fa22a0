#include "platform/input_parity.h"

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <termios.h>
#endif

namespace zr::platform
{

#ifdef Q_OS_WIN

// QSerialPort sets fParity with MARK and SPACE; with fErrorChar and fAbortOnError off the byte is
// still delivered, but the check stays on and raises line errors. Keep it off.
bool DisableInputParityCheck(QSerialPort& port)
{
    DCB dcb{};
    dcb.DCBlength = sizeof(dcb);
    if (!::GetCommState(port.handle(), &dcb))
        return false;
    dcb.fParity = FALSE;
    dcb.fErrorChar = FALSE;
    dcb.fNull = FALSE;
    dcb.fAbortOnError = FALSE;
    return ::SetCommState(port.handle(), &dcb) != 0;
}

#else

// With PARENB set the tty layer would check input parity under INPCK: IGNPAR drops a byte in error,
// PARMRK turns it into FF 00 x, and otherwise it arrives as 00.
bool DisableInputParityCheck(QSerialPort& port)
{
    termios tio{};
    if (::tcgetattr(port.handle(), &tio) != 0)
        return false;
    tio.c_iflag &= ~tcflag_t(INPCK | IGNPAR | PARMRK | ISTRIP);
    return ::tcsetattr(port.handle(), TCSANOW, &tio) == 0;
}

#endif

} // namespace zr::platform
