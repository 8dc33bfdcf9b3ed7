// Draws the desktop icons of the two window programs into an icon folder laid out like the
// hicolor theme, the layout they are installed in:
//   hicolor/scalable/apps/ID.svg     the drawing itself, on a 128 x 128 grid
//   hicolor/NxN/apps/ID.png          rendered at the usual sizes from 16 to 256 pixels
// Both icons share the tile and the teal "Q" ring of the publisher's logo; the evaluation
// program shows one participant's result bars, the course window the box plots of a course.
// Below 32 pixels the ring is left out, as it would only blur the motif.
// Usage: make_icons [icon folder]; without an argument it writes into the project's
// assets/icons. The icons are committed; run this only after changing the drawing.

#include <QBuffer>
#include <QColor>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QSvgGenerator>

#include <array>
#include <cstdio>

namespace {

constexpr int kGrid = 128;
constexpr std::array kPixelSizes{16, 22, 24, 32, 48, 64, 128, 256};

const QColor kNavy(0, 0, 128);
const QColor kTeal(0, 128, 128);
const QColor kCream(255, 251, 240);

enum class Motif { ResultBars, CourseBoxPlots };

struct Icon {
    const char* id;
    const char* title;
    Motif motif;
};

const std::array kIcons{
    Icon{"de.quendral.Auswertung", "Quendral Auswertung", Motif::ResultBars},
    Icon{"de.quendral.Kursauswertung", "Quendral Kursauswertung", Motif::CourseBoxPlots},
};

void drawTile(QPainter& p)
{
    p.setPen(QPen(kNavy, 6.0));
    p.setBrush(kCream);
    p.drawRoundedRect(QRectF(9, 9, 110, 110), 20, 20);
}

// The ring and tail of the logo's "Q", small in the upper right corner.
void drawRing(QPainter& p)
{
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(kTeal, 7.0));
    p.drawEllipse(QPointF(90, 37), 15, 15);
    p.setPen(QPen(kNavy, 7.0, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(98, 45), QPointF(107, 54));
}

// Three chapter bars on a base line, as in the result window's chart.
void drawResultBars(QPainter& p)
{
    p.setPen(Qt::NoPen);
    p.setBrush(kTeal);
    p.drawRect(QRectF(24, 58, 20, 44));
    p.setBrush(kNavy);
    p.drawRect(QRectF(54, 34, 20, 68));
    p.setBrush(kTeal);
    p.drawRect(QRectF(84, 70, 20, 32));
    p.setPen(QPen(kNavy, 5.0, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(QPointF(18, 104.5), QPointF(110, 104.5));
}

// Three box plots (whiskers, box, median) side by side, as in the course report.
void drawBoxPlots(QPainter& p)
{
    struct Box {
        double x, whiskerTop, boxTop, median, boxBottom, whiskerBottom;
    };
    constexpr double width = 22;
    for (const Box& b :
        {Box{20, 44, 58, 70, 82, 102}, Box{50, 30, 42, 52, 66, 90}, Box{80, 64, 72, 80, 90, 104}}) {
        const double centre = b.x + width / 2;
        p.setPen(QPen(kNavy, 5.0, Qt::SolidLine, Qt::FlatCap));
        p.drawLine(QPointF(centre, b.whiskerTop), QPointF(centre, b.whiskerBottom));
        p.drawLine(QPointF(centre - 6, b.whiskerTop), QPointF(centre + 6, b.whiskerTop));
        p.drawLine(QPointF(centre - 6, b.whiskerBottom), QPointF(centre + 6, b.whiskerBottom));
        p.setBrush(kTeal);
        p.drawRect(QRectF(b.x, b.boxTop, width, b.boxBottom - b.boxTop));
        p.setPen(QPen(kCream, 4.0, Qt::SolidLine, Qt::FlatCap));
        p.drawLine(QPointF(b.x + 2.5, b.median), QPointF(b.x + width - 2.5, b.median));
    }
}

void drawIcon(QPainter& p, Motif motif, bool withRing)
{
    p.setRenderHint(QPainter::Antialiasing);
    drawTile(p);
    if (motif == Motif::ResultBars)
        drawResultBars(p);
    else
        drawBoxPlots(p);
    if (withRing)
        drawRing(p);
}

QByteArray svgOf(const Icon& icon)
{
    QBuffer buffer;
    QSvgGenerator svg;
    svg.setOutputDevice(&buffer);
    svg.setSize(QSize(kGrid, kGrid));
    svg.setViewBox(QRect(0, 0, kGrid, kGrid));
    svg.setResolution(96);
    svg.setTitle(QString::fromUtf8(icon.title));
    QPainter p(&svg);
    drawIcon(p, icon.motif, true);
    p.end();
    return buffer.data();
}

QImage pngOf(const Icon& icon, int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.scale(double(size) / kGrid, double(size) / kGrid);
    drawIcon(p, icon.motif, size >= 32);
    return image;
}

bool writeFile(const QString& path, const QByteArray& data)
{
    QFile file(path);
    return QDir().mkpath(QFileInfo(path).path()) && file.open(QIODevice::WriteOnly)
        && file.write(data) == data.size();
}

bool writeIcon(const QDir& root, const Icon& icon)
{
    const QString name = QString::fromUtf8(icon.id);
    const QString svgPath = root.filePath(QStringLiteral("hicolor/scalable/apps/%1.svg").arg(name));
    if (!writeFile(svgPath, svgOf(icon))) {
        std::fprintf(stderr, "Datei %s kann nicht geschrieben werden.\n", qPrintable(svgPath));
        return false;
    }
    std::printf("%s\n", qPrintable(svgPath));
    for (const int size : kPixelSizes) {
        const QString path
            = root.filePath(QStringLiteral("hicolor/%1x%1/apps/%2.png").arg(size).arg(name));
        QByteArray png;
        QBuffer buffer(&png);
        if (!pngOf(icon, size).save(&buffer, "PNG") || !writeFile(path, png)) {
            std::fprintf(stderr, "Datei %s kann nicht geschrieben werden.\n", qPrintable(path));
            return false;
        }
        std::printf("%s\n", qPrintable(path));
    }
    return true;
}

}  // namespace

int main(int argc, char* argv[])
{
    const QDir root(
        argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(QUENDRAL_ICONS_DIR));
    for (const Icon& icon : kIcons) {
        if (!writeIcon(root, icon))
            return 1;
    }
    return 0;
}
