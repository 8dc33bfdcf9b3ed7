// Tests of the JPEG module: what the encoder stores (read back with libjpeg itself), and
// that pictures survive the round trip through Qt's own JPEG reader.

#include "Jpeg.h"
#include "JpegHeader.h"

#include <QColor>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <vector>

#include <jpeglib.h>  // J_COLOR_SPACE

using quendral::encodeJpeg;
using quendral::test::findJpegSegment;
using quendral::test::readJpegHeader;

const auto decodeJpeg = quendral::test::decodeJpegPicture;

namespace {

// The example quantisation tables of the JPEG standard (ITU-T T.81, Annex K), in natural
// (row by row) order: the base that quality settings scale.
constexpr std::array<unsigned, 64> kLuminanceBase{16, 11, 10, 16, 24, 40, 51, 61, 12, 12, 14, 19,
    26, 58, 60, 55, 14, 13, 16, 24, 40, 57, 69, 56, 14, 17, 22, 29, 51, 87, 80, 62, 18, 22, 37, 56,
    68, 109, 103, 77, 24, 35, 55, 64, 81, 104, 113, 92, 49, 64, 78, 87, 103, 121, 120, 101, 72, 92,
    95, 98, 112, 100, 103, 99};
constexpr std::array<unsigned, 64> kChrominanceBase{17, 18, 24, 47, 99, 99, 99, 99, 18, 21, 26, 66,
    99, 99, 99, 99, 24, 26, 56, 99, 99, 99, 99, 99, 47, 66, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99,
    99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99,
    99, 99, 99, 99};

// The table a quality setting yields: quality q scales the base by 5000/q percent below
// 50 and by 200 - 2q percent from 50 on; entries are rounded and, for baseline, kept
// within 1..255.
std::array<unsigned, 64> scaledTable(const std::array<unsigned, 64>& base, int quality)
{
    quality = std::clamp(quality, 1, 100);
    const long scale = quality < 50 ? 5000 / quality : 200 - 2 * quality;
    std::array<unsigned, 64> table{};
    for (std::size_t i = 0; i < 64; ++i)
        table[i] = static_cast<unsigned>(std::clamp((base[i] * scale + 50) / 100, 1L, 255L));
    return table;
}

bool near(QRgb actual, QRgb expected, int tolerance)
{
    return std::abs(qRed(actual) - qRed(expected)) <= tolerance
        && std::abs(qGreen(actual) - qGreen(expected)) <= tolerance
        && std::abs(qBlue(actual) - qBlue(expected)) <= tolerance;
}

QByteArray describe(QRgb c)
{
    return QByteArray::number(qRed(c)) + ',' + QByteArray::number(qGreen(c)) + ','
        + QByteArray::number(qBlue(c));
}

// The snapshot's size, tiled with 8 x 6 flat blocks whose colours differ in every channel
// from their neighbours and mostly between channels, so a swap of R and B shows.
constexpr int kWidth = 808;
constexpr int kHeight = 519;
constexpr int kColumns = 8;
constexpr int kRows = 6;

QRgb blockColour(int column, int row)
{
    return qRgb(20 + 30 * column, 220 - 36 * row, 60 + 20 * ((column + 2 * row) % 8));
}

QRect blockRect(int column, int row)
{
    const int x0 = column * kWidth / kColumns;
    const int y0 = row * kHeight / kRows;
    return QRect(QPoint(x0, y0),
        QPoint((column + 1) * kWidth / kColumns - 1, (row + 1) * kHeight / kRows - 1));
}

QImage blockPicture()
{
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    for (int row = 0; row < kRows; ++row) {
        for (int column = 0; column < kColumns; ++column) {
            const QRect r = blockRect(column, row);
            for (int y = r.top(); y <= r.bottom(); ++y) {
                auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
                std::fill(line + r.left(), line + r.right() + 1, blockColour(column, row));
            }
        }
    }
    return image;
}

// A small picture of four flat quadrants aligned to the encoder's 16 x 16 blocks.
constexpr std::array<QRgb, 4> kQuadrantColours{
    qRgb(220, 30, 40), qRgb(30, 160, 70), qRgb(20, 40, 200), qRgb(240, 200, 20)};

QImage quadrantPicture()
{
    QImage image(64, 32, QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, kQuadrantColours[std::size_t((y / 16) * 2 + x / 32)]);
    return image;
}

const std::array<QPoint, 4> kQuadrantCentres{
    QPoint(16, 8), QPoint(48, 8), QPoint(16, 24), QPoint(48, 24)};

}  // namespace

class JpegTest : public QObject {
    Q_OBJECT

private slots:
    void storesBaselineFullColourWithStandardTables();
    void scalesTablesWithQuality_data();
    void scalesTablesWithQuality();
    void roundTripThroughFileKeepsColours();
    void acceptsEverySourceFormat_data();
    void acceptsEverySourceFormat();
    void keepsSmallAndOddSizes_data();
    void keepsSmallAndOddSizes();
    void readsRowsOfForeignStride();
    void nullImageGivesEmptyStream();
    void logoAssetIsReadable();
};

void JpegTest::storesBaselineFullColourWithStandardTables()
{
    const QByteArray data = encodeJpeg(blockPicture());
    QVERIFY(!data.isEmpty());
    QVERIFY(data.startsWith("\xFF\xD8"));
    QVERIFY(data.endsWith("\xFF\xD9"));
    QVERIFY(!decodeJpeg(data).isNull());

    // Baseline sequential frame; no extended, progressive or arithmetic-coded one.
    QVERIFY(findJpegSegment(data, 0xC0) > 0);
    for (quint8 other : {0xC1, 0xC2, 0xC3, 0xC9, 0xCA})
        QCOMPARE(findJpegSegment(data, other), qsizetype(-1));

    const auto h = readJpegHeader(data);
    QCOMPARE(h.width, kWidth);
    QCOMPARE(h.height, kHeight);
    QCOMPARE(h.components, 3);
    QCOMPARE(h.colourSpace, int(JCS_YCbCr));
    QVERIFY(!h.progressive);
    QVERIFY(h.jfif);
    // libjpeg's default sampling: chroma at half resolution both ways.
    QCOMPARE(h.sampling, (std::vector<std::pair<int, int>>{{2, 2}, {1, 1}, {1, 1}}));
    // Quality 90 scales the base tables to 20 %: the DC step of 16 becomes (16*20+50)/100 = 3.
    QCOMPARE(h.luminance[0], 3u);
    QCOMPARE(h.luminance, scaledTable(kLuminanceBase, 90));
    QCOMPARE(h.chrominance, scaledTable(kChrominanceBase, 90));
}

void JpegTest::scalesTablesWithQuality_data()
{
    QTest::addColumn<int>("quality");
    QTest::addColumn<unsigned>("dcStep");
    QTest::newRow("90") << 90 << 3u;
    QTest::newRow("75") << 75 << 8u;
    QTest::newRow("50") << 50 << 16u;
    QTest::newRow("100") << 100 << 1u;
    QTest::newRow("10") << 10 << 80u;
    QTest::newRow("1 (baseline caps steps at 255)") << 1 << 255u;
    QTest::newRow("0 (taken as 1)") << 0 << 255u;
    QTest::newRow("150 (taken as 100)") << 150 << 1u;
}

void JpegTest::scalesTablesWithQuality()
{
    QFETCH(int, quality);
    QFETCH(unsigned, dcStep);
    const QByteArray data = encodeJpeg(quadrantPicture(), quality);
    QVERIFY(!decodeJpeg(data).isNull());
    const auto h = readJpegHeader(data);
    QCOMPARE(h.luminance[0], dcStep);
    QCOMPARE(h.luminance, scaledTable(kLuminanceBase, quality));
    QCOMPARE(h.chrominance, scaledTable(kChrominanceBase, quality));
    QVERIFY(!h.progressive);
}

void JpegTest::roundTripThroughFileKeepsColours()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath("Quendral.jpg");
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        const QByteArray data = encodeJpeg(blockPicture());
        QCOMPARE(file.write(data), data.size());
    }
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QImage decoded = decodeJpeg(file.readAll());

    QCOMPARE(decoded.size(), QSize(kWidth, kHeight));
    QCOMPARE(decoded.format(), QImage::Format_RGB888);
    for (int row = 0; row < kRows; ++row) {
        for (int column = 0; column < kColumns; ++column) {
            const QRect r = blockRect(column, row).adjusted(10, 10, -10, -10);
            for (const QPoint p : {r.center(), r.topLeft(), r.bottomRight()}) {
                const QRgb got = decoded.pixel(p);
                QVERIFY2(near(got, blockColour(column, row), 8),
                    QByteArray("block ") + QByteArray::number(column) + '/'
                        + QByteArray::number(row) + " at " + QByteArray::number(p.x()) + ','
                        + QByteArray::number(p.y()) + ": " + describe(got) + " instead of "
                        + describe(blockColour(column, row)));
            }
        }
    }
}

void JpegTest::acceptsEverySourceFormat_data()
{
    QTest::addColumn<QImage::Format>("format");
    QTest::newRow("RGB888") << QImage::Format_RGB888;
    QTest::newRow("BGR888") << QImage::Format_BGR888;
    QTest::newRow("RGB32") << QImage::Format_RGB32;
    QTest::newRow("ARGB32") << QImage::Format_ARGB32;
    QTest::newRow("ARGB32_Premultiplied") << QImage::Format_ARGB32_Premultiplied;
    QTest::newRow("RGBA8888") << QImage::Format_RGBA8888;
    QTest::newRow("RGBX8888") << QImage::Format_RGBX8888;
    QTest::newRow("RGB16") << QImage::Format_RGB16;
    QTest::newRow("Indexed8") << QImage::Format_Indexed8;
    QTest::newRow("Grayscale8") << QImage::Format_Grayscale8;
}

void JpegTest::acceptsEverySourceFormat()
{
    QFETCH(QImage::Format, format);
    // Four colours fit any palette exactly; no dithering, so every quadrant stays flat.
    const QImage source
        = quadrantPicture().convertToFormat(format, Qt::ThresholdDither | Qt::AvoidDither);
    QCOMPARE(source.format(), format);
    const QImage decoded = decodeJpeg(encodeJpeg(source));
    QCOMPARE(decoded.size(), source.size());
    for (const QPoint p : kQuadrantCentres) {
        // What the source shows at that point, in whatever precision its format has.
        const QRgb expected = source.pixel(p);
        QVERIFY2(near(decoded.pixel(p), expected, 6),
            describe(decoded.pixel(p)) + " instead of " + describe(expected));
    }
}

void JpegTest::keepsSmallAndOddSizes_data()
{
    QTest::addColumn<QSize>("size");
    QTest::newRow("1 x 1") << QSize(1, 1);
    QTest::newRow("17 x 3 (rows padded to 52 bytes)") << QSize(17, 3);
    QTest::newRow("3 x 17") << QSize(3, 17);
    QTest::newRow("33 x 35 (partial blocks at both edges)") << QSize(33, 35);
}

void JpegTest::keepsSmallAndOddSizes()
{
    QFETCH(QSize, size);
    const QRgb colour = qRgb(200, 60, 20);
    QImage source(size, QImage::Format_RGB888);
    source.fill(QColor::fromRgb(colour));
    const QImage decoded = decodeJpeg(encodeJpeg(source));
    QCOMPARE(decoded.size(), size);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            QVERIFY2(near(decoded.pixel(x, y), colour, 6),
                "pixel " + QByteArray::number(x) + ',' + QByteArray::number(y) + ": "
                    + describe(decoded.pixel(x, y)));
}

void JpegTest::readsRowsOfForeignStride()
{
    // An RGB888 image over memory whose rows are 12 bytes longer than the pixels, the gap
    // filled with bytes that would show if the encoder read past a row's end.
    constexpr int w = 20;
    constexpr int h = 20;
    constexpr int stride = w * 3 + 12;
    std::vector<uchar> memory(std::size_t(stride) * h, 0xFF);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            uchar* p = memory.data() + y * stride + x * 3;
            p[0] = 30;
            p[1] = 90;
            p[2] = 170;
        }
    const QImage source(memory.data(), w, h, stride, QImage::Format_RGB888);
    const QImage decoded = decodeJpeg(encodeJpeg(source));
    QCOMPARE(decoded.size(), QSize(w, h));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            QVERIFY2(near(decoded.pixel(x, y), qRgb(30, 90, 170), 6),
                "pixel " + QByteArray::number(x) + ',' + QByteArray::number(y) + ": "
                    + describe(decoded.pixel(x, y)));
}

void JpegTest::nullImageGivesEmptyStream()
{
    QVERIFY(encodeJpeg(QImage()).isEmpty());
    QVERIFY(encodeJpeg(QImage(0, 10, QImage::Format_RGB888)).isEmpty());
}

void JpegTest::logoAssetIsReadable()
{
    QFile file(QStringLiteral(QUENDRAL_LOGO_FILE));
    QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(file.fileName()));
    const QByteArray data = file.readAll();
    const QImage logo = decodeJpeg(data);
    QCOMPARE(logo.size(), QSize(129, 129));
    const auto h = readJpegHeader(data);
    QCOMPARE(h.components, 3);
    QVERIFY(!h.progressive);
    // White background in the corners.
    for (const QPoint p : {QPoint(1, 1), QPoint(127, 1), QPoint(1, 127), QPoint(127, 127)})
        QVERIFY(near(logo.pixel(p), qRgb(255, 255, 255), 6));
}

QTEST_GUILESS_MAIN(JpegTest)
#include "JpegTest.moc"
