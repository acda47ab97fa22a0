#include "report/compound_file.h"

#include <QtEndian>

namespace zr::report
{

namespace
{

constexpr int kSector = 512;
constexpr int kMiniStreamCutoff = 4096;
constexpr int kHeaderFatSlots = 109;
constexpr quint32 kFreeSect = 0xFFFFFFFF;
constexpr quint32 kEndOfChain = 0xFFFFFFFE;
constexpr quint32 kFatSect = 0xFFFFFFFD;
constexpr quint32 kNoStream = 0xFFFFFFFF;

void Put16(QByteArray& bytes, int at, quint16 value)
{
    qToLittleEndian(value, bytes.data() + at);
}

void Put32(QByteArray& bytes, int at, quint32 value)
{
    qToLittleEndian(value, bytes.data() + at);
}

// One 128-byte directory entry.
QByteArray DirectoryEntry(const QString& name, quint8 type, quint32 child, quint32 start,
                          quint32 size)
{
    QByteArray entry(128, '\0');
    for (int i = 0; i < name.size(); ++i)
        Put16(entry, 2 * i, name.at(i).unicode());
    Put16(entry, 64, quint16(2 * (name.size() + 1)));
    entry[66] = char(type);
    entry[67] = 1; // black
    Put32(entry, 68, kNoStream);
    Put32(entry, 72, kNoStream);
    Put32(entry, 76, child);
    Put32(entry, 116, start);
    Put32(entry, 120, size);
    return entry;
}

} // namespace

std::optional<QByteArray> BuildCompoundFile(const QString& name, const QByteArray& stream)
{
    QByteArray data = stream;
    if (data.size() < kMiniStreamCutoff)
        data.append(QByteArray(kMiniStreamCutoff - data.size(), '\0'));
    const quint32 streamSectors = quint32((data.size() + kSector - 1) / kSector);
    const quint32 directorySector = streamSectors;
    // The FAT covers the stream, the directory and itself.
    quint32 fatSectors = 1;
    while (fatSectors * (kSector / 4) < streamSectors + 1 + fatSectors)
        ++fatSectors;
    if (fatSectors > kHeaderFatSlots)
        return std::nullopt;
    const quint32 firstFatSector = directorySector + 1;

    QByteArray header(kSector, '\0');
    const char signature[] = "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1";
    header.replace(0, 8, QByteArray(signature, 8));
    Put16(header, 24, 0x003E); // minor version
    Put16(header, 26, 0x0003); // major version 3
    Put16(header, 28, 0xFFFE); // little-endian
    Put16(header, 30, 9);      // 512-byte sectors
    Put16(header, 32, 6);      // 64-byte mini sectors
    Put32(header, 44, fatSectors);
    Put32(header, 48, directorySector);
    Put32(header, 56, kMiniStreamCutoff);
    Put32(header, 60, kEndOfChain); // no mini FAT
    Put32(header, 68, kEndOfChain); // no DIFAT sectors
    for (quint32 i = 0; i < kHeaderFatSlots; ++i)
        Put32(header, 76 + 4 * int(i), i < fatSectors ? firstFatSector + i : kFreeSect);

    QByteArray file = header;
    file.append(data);
    file.append(QByteArray(int(streamSectors) * kSector - data.size(), '\0'));

    QByteArray directory = DirectoryEntry("Root Entry", 5, 1, kEndOfChain, 0);
    directory.append(DirectoryEntry(name, 2, kNoStream, 0, quint32(data.size())));
    QByteArray unused(128, '\0');
    Put32(unused, 68, kNoStream);
    Put32(unused, 72, kNoStream);
    Put32(unused, 76, kNoStream);
    directory.append(unused);
    directory.append(unused);
    file.append(directory);

    QByteArray fat(int(fatSectors) * kSector, '\xFF');
    for (quint32 s = 0; s < streamSectors; ++s)
        Put32(fat, 4 * int(s), s + 1 < streamSectors ? s + 1 : kEndOfChain);
    Put32(fat, 4 * int(directorySector), kEndOfChain);
    for (quint32 i = 0; i < fatSectors; ++i)
        Put32(fat, 4 * int(firstFatSector + i), kFatSect);
    file.append(fat);
    return file;
}

} // namespace zr::report
