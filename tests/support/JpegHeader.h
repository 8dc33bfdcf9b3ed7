#pragma once

// Reading back what a JPEG stream holds, for the tests of the picture: the header as
// libjpeg itself reads it, the segments before the scan, and the pixels as Qt's JPEG
// plugin decodes them.

#include <QByteArray>
#include <QImage>

#include <array>
#include <utility>
#include <vector>

namespace quendral::test {

struct JpegHeader {
    int width = 0;
    int height = 0;
    int components = 0;
    int colourSpace = 0;  // libjpeg's J_COLOR_SPACE of the stored stream
    bool progressive = true;
    bool jfif = false;
    std::vector<std::pair<int, int>> sampling;  // per component: horizontal, vertical
    std::array<unsigned, 64> luminance{};  // quantisation tables in natural order
    std::array<unsigned, 64> chrominance{};
};

// Only for streams that decode; libjpeg's default error handling (message and exit) would
// end the test run, which fails it as well.
JpegHeader readJpegHeader(const QByteArray& data);

// Offset of the first segment with marker `code` before the scan data, or -1. Walks the
// segment lengths from the start-of-image marker, so bytes inside segments never match.
qsizetype findJpegSegment(const QByteArray& data, unsigned char code);

// The marker of the stream's frame header (0xC0 baseline, 0xC1 extended sequential, 0xC2
// progressive, ...), or -1 when there is none before the scan.
int firstFrameMarker(const QByteArray& data);

// The pixels as 24-bit RGB; null when Qt's JPEG plugin cannot read the stream.
QImage decodeJpegPicture(const QByteArray& data);

}  // namespace quendral::test
