#pragma once

// The window snapshot as a JPEG stream in memory, over libjpeg. (Pictures are read with
// Qt's own JPEG plugin.)

#include <QByteArray>
#include <QImage>

namespace quendral {

// Encodes `image` as a baseline, full-colour JPEG stream with the given quality (1..100;
// values outside are clamped by libjpeg) and libjpeg's defaults for everything else
// (JFIF header, YCbCr with 2x2 chroma subsampling, standard Huffman tables). The image is
// first converted to 24-bit RGB unless it already is; an alpha channel is dropped.
// Returns an empty array for a null image or when the encoder fails.
QByteArray encodeJpeg(const QImage& image, int quality = 90);

}  // namespace quendral
