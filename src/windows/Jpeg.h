#pragma once

// JPEG pictures in memory, over libjpeg: decoding the logo picture and encoding the
// window snapshot.

#include <QByteArray>
#include <QImage>

namespace quendral {

// Decodes a complete JPEG stream into a QImage of Format_RGB888 (greyscale pictures come
// out as grey RGB). Returns a null image for anything that is not a complete, readable
// JPEG stream: empty or foreign data, a damaged header, a truncated or corrupt scan.
// Never prints and never ends the program.
QImage decodeJpeg(const QByteArray& data);

// Encodes `image` as a baseline, full-colour JPEG stream with the given quality (1..100;
// values outside are clamped by libjpeg) and libjpeg's defaults for everything else
// (JFIF header, YCbCr with 2x2 chroma subsampling, standard Huffman tables). The image is
// first converted to 24-bit RGB unless it already is; an alpha channel is dropped.
// Returns an empty array for a null image or when the encoder fails.
QByteArray encodeJpeg(const QImage& image, int quality = 90);

}  // namespace quendral
