// Draws the program's pictures and writes them into the assets folder:
//   logo.jpg         the publisher's logo, 129 x 129, a ring "Q" over the word "Quendral"
//   button_ende.png  the glyph of the "S&chließen" button: an open door under an exit
//                    sign, 36 x 18 with two 18 x 18 states side by side (left normal,
//                    right greyed for a disabled button), transparent background
// Usage: make_assets [assets folder]; without an argument it writes into the project's
// assets folder. The pictures are committed; run this only after changing the drawing.

#include "Jpeg.h"

#include <QColor>
#include <QDir>
#include <QFile>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPolygon>

#include <cstdio>

namespace {

const QColor kNavy(0, 0, 128);
const QColor kTeal(0, 128, 128);
const QColor kWhite(255, 255, 255);

QImage drawLogo()
{
    QImage logo(129, 129, QImage::Format_RGB32);
    logo.fill(kWhite);
    QPainter p(&logo);
    p.setRenderHint(QPainter::Antialiasing);

    // The "Q": a teal ring with a navy tail crossing its lower right.
    const QPointF centre(64.5, 50.0);
    p.setPen(QPen(kTeal, 11.0));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(centre, 33.0, 33.0);
    p.setPen(QPen(kNavy, 10.0, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(76.0, 62.0), QPointF(98.0, 84.0));

    // The name below, in navy.
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(21);
    font.setBold(true);
    p.setFont(font);
    p.setPen(kNavy);
    p.drawText(
        QRect(0, 96, 129, 30), Qt::AlignHCenter | Qt::AlignVCenter, QStringLiteral("Quendral"));
    return logo;
}

// The normal state of the glyph, pixel by pixel without smoothing, as small glyphs are.
QImage drawDoor()
{
    QImage glyph(18, 18, QImage::Format_ARGB32);
    glyph.fill(Qt::transparent);
    QPainter p(&glyph);
    p.setRenderHint(QPainter::Antialiasing, false);

    // Exit sign: green plate with a white arrow pointing out of the door.
    p.fillRect(QRect(1, 0, 9, 7), QColor(0, 153, 68));
    p.fillRect(QRect(2, 3, 7, 1), kWhite);
    for (const QPoint& head : {QPoint(6, 1), QPoint(7, 2), QPoint(7, 4), QPoint(6, 5)})
        p.fillRect(QRect(head, QSize(1, 1)), kWhite);

    // Door frame around the dark opening.
    p.fillRect(QRect(2, 8, 9, 10), QColor(64, 64, 64));
    p.fillRect(QRect(3, 9, 7, 9), QColor(24, 24, 40));

    // The leaf, hinged at the right post and swung open towards the viewer.
    const QPolygon leaf({QPoint(11, 8), QPoint(16, 6), QPoint(16, 17), QPoint(11, 17)});
    p.setPen(QColor(96, 56, 16));
    p.setBrush(QColor(184, 120, 56));
    p.drawPolygon(leaf);
    p.fillRect(QRect(14, 12, 1, 2), QColor(255, 210, 0));  // handle
    return glyph;
}

// The greyed state: every pixel's brightness mapped into a light grey range, so the
// shapes stay recognisable but the glyph reads as inactive; transparency is kept.
QImage greyed(const QImage& normal)
{
    QImage grey = normal.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < grey.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(grey.scanLine(y));
        for (int x = 0; x < grey.width(); ++x) {
            const QRgb c = line[x];
            const int level = 112 + qGray(c) * 112 / 255;
            line[x] = qRgba(level, level, level, qAlpha(c));
        }
    }
    return grey;
}

QImage drawButtonGlyph()
{
    const QImage normal = drawDoor();
    QImage both(36, 18, QImage::Format_ARGB32);
    both.fill(Qt::transparent);
    QPainter p(&both);
    p.drawImage(0, 0, normal);
    p.drawImage(18, 0, greyed(normal));
    return both;
}

bool writeFile(const QString& path, const QByteArray& data)
{
    QFile file(path);
    return !data.isEmpty() && file.open(QIODevice::WriteOnly) && file.write(data) == data.size();
}

}  // namespace

int main(int argc, char* argv[])
{
    // Text needs the font system, hence a GUI application, but no screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    const QDir dir(
        argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(QUENDRAL_ASSETS_DIR));
    if (!dir.exists()) {
        std::fprintf(stderr, "Ordner %s gibt es nicht.\n", qPrintable(dir.path()));
        return 1;
    }

    const QString logoPath = dir.filePath(QStringLiteral("logo.jpg"));
    const QByteArray logo = quendral::encodeJpeg(drawLogo());
    if (!writeFile(logoPath, logo)) {
        std::fprintf(stderr, "Datei %s kann nicht geschrieben werden.\n", qPrintable(logoPath));
        return 1;
    }
    std::printf(
        "%s: 129 x 129, %lld Bytes\n", qPrintable(logoPath), static_cast<long long>(logo.size()));

    const QString glyphPath = dir.filePath(QStringLiteral("button_ende.png"));
    if (!drawButtonGlyph().save(glyphPath, "PNG")) {
        std::fprintf(stderr, "Datei %s kann nicht geschrieben werden.\n", qPrintable(glyphPath));
        return 1;
    }
    std::printf("%s: 36 x 18 (zwei Zustände zu je 18 x 18)\n", qPrintable(glyphPath));
    return 0;
}
