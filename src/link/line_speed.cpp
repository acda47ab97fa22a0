#include "link/line_speed.h"

#include <iterator>

namespace zr::link
{

namespace
{

constexpr int kBauds[] = {4800, 9600, 19200, 38400};
constexpr int kCount = int(std::size(kBauds));

} // namespace

int BaudForIndex(int index)
{
    return index >= 0 && index < kCount ? kBauds[index] : 0;
}

int IndexOfBaud(int baud)
{
    for (int i = 0; i < kCount; ++i) {
        if (kBauds[i] == baud)
            return i;
    }
    return -1;
}

QStringList LineSpeedTexts()
{
    QStringList texts;
    for (int baud : kBauds)
        texts.append(QString::number(baud));
    return texts;
}

} // namespace zr::link
