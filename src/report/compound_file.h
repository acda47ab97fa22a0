#pragma once
// The OLE2 compound-file container holding one stream, as Excel 97 workbooks need it.

#include <QByteArray>
#include <QString>
#include <optional>

namespace zr::report
{

// A container (version 3, 512-byte sectors) whose root holds the single stream `name`. The
// stream is padded with zeros to 4096 bytes when shorter, so it always lives in regular sectors
// and no mini-stream is needed. Empty when the stream is too large for a FAT held in the header
// (about 13 MB).
std::optional<QByteArray> BuildCompoundFile(const QString& name, const QByteArray& stream);

} // namespace zr::report
