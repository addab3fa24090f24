#pragma once

#include <QByteArray>
#include <QImage>

namespace quorvanta {

// Decodes a baseline or progressive JPEG with libjpeg; a null image when the
// data is not a JPEG it can read.
QImage decodeJpeg(const QByteArray& data);

// The picture the map shows before a flight is loaded.
QImage startPicture();

}  // namespace quorvanta
