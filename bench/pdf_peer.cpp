// The bare-Qt peer of quendral-batch's course report: a program that lists a folder, reads
// each answer file once and writes an A4 PDF with one row of nine cells per file (the
// name and eight numbers, each cell one drawText, 55 rows a page) through QPdfWriter, on the
// offscreen platform. What it leaves out (statistics, tables, charts) is what the course
// report adds.
//
//   pdf_peer FOLDER OUT.pdf

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QPainter>
#include <QPdfWriter>

int main(int argc, char** argv)
{
    if (argc != 3)
        return 2;
    int qtArgc = 3;
    char name[] = "pdf_peer";
    char option[] = "-platform";
    char platform[] = "offscreen";
    char* qtArgv[] = {name, option, platform, nullptr};
    QGuiApplication application(qtArgc, qtArgv);

    const QDir folder(QString::fromLocal8Bit(argv[1]));
    const QStringList files = folder.entryList({QStringLiteral("*.dat")}, QDir::Files, QDir::Name);
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setResolution(300);
        writer.setPageSize(QPageSize(QPageSize::A4));
        QPainter painter(&writer);
        QFont font(QStringLiteral("Liberation Sans"));
        font.setPointSizeF(8);
        painter.setFont(font);
        const double row = writer.height() / 60.0;
        int onPage = 0;
        for (const QString& file : files) {
            QFile in(folder.filePath(file));
            if (!in.open(QIODevice::ReadOnly))
                return 1;
            const QByteArray bytes = in.read(395);
            if (onPage == 55) {
                writer.newPage();
                onPage = 0;
            }
            const double y = (onPage + 2) * row;
            painter.drawText(QPointF(0, y), folder.dirName() + QLatin1Char('/') + file);
            for (int c = 0; c < 8; ++c)
                painter.drawText(QPointF(writer.width() * (0.45 + 0.07 * c), y),
                    QString::number(static_cast<unsigned char>(bytes.at(41 + c))));
            ++onPage;
        }
    }
    QFile out(QString::fromLocal8Bit(argv[2]));
    return out.open(QIODevice::WriteOnly) && out.write(buffer.data()) == buffer.size() ? 0 : 1;
}
