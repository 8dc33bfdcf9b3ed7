#pragma once

// libjpeg alone, as a bare program would call it: what the benchmark holds the program's
// picture encoding against.

#include <QByteArray>
#include <QImage>

namespace quendral::bench {

// Baseline JPEG at quality 90 with the library's defaults, into memory libjpeg allocates.
// Format_RGB32 rows (B, G, R, X bytes in memory) are read in place as JCS_EXT_BGRX,
// Format_RGB888 rows as JCS_RGB; other formats give an empty array.
QByteArray encodeWithLibjpeg(const QImage& image);

}  // namespace quendral::bench
