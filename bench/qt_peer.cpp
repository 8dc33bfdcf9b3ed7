// The bare-Qt peer of the evaluation program for the real-screen benchmark: the same
// windows with the same widgets, titles, sizes and control places, built the plain way a
// Qt program would build them, doing the same work on the same clicks. It reads the answer
// file, asks the picture question, shows the bars, writes the report header and the
// sections, shows the block menu and the review windows with their boxes ticked and
// coloured, and on "S&chließen" saves the window's picture (grab, libjpeg, the same
// atomic write) and quits. What the benchmark compares the program with.
//
//   qt_peer --frame=LEFT,TOP,RIGHT,BOTTOM   (the window manager's frame, for client sizes)

#include "RawJpeg.h"

#include "AnswerKey.h"
#include "AnswerRecord.h"
#include "AtomicFile.h"
#include "BlockScore.h"
#include "Blocks.h"
#include "Catalogue.h"
#include "Section.h"

#include <QApplication>
#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QStringEncoder>
#include <QStyle>
#include <QTimer>
#include <QTranslator>
#include <QVBoxLayout>
#include <QValueAxis>
#include <QWindow>

#include <cstdio>
#include <fstream>

using namespace quendral;

namespace {

QMargins frame;
AnswerRecord record;
std::string answerPath;

QSize clientSize(int outerWidth, int outerHeight)
{
    return QSize(outerWidth, outerHeight).shrunkBy(frame);
}

std::string latin(const QString& text)
{
    QStringEncoder encoder("windows-1252");
    return QByteArray(encoder(text)).toStdString();
}

class Review : public QDialog {
public:
    Review(int block, std::ofstream& report, QWidget* parent) : QDialog(parent)
    {
        const ReviewCatalogue& c = reviewCatalogue(block);
        setWindowTitle(QString::fromUtf8(c.windowCaption));
        auto* scroll = new QScrollArea(this);
        auto* content = new QWidget;
        content->setAutoFillBackground(true);
        content->setPalette(QPalette(Qt::white));
        QFont boxFont(QStringLiteral("MS Sans Serif"));
        boxFont.setPixelSize(13);
        QFont labelFont = boxFont;
        labelFont.setBold(true);
        std::vector<QCheckBox*> boxes;
        for (const CatalogueRow& row : c.rows) {
            const QRect r(row.rect.left, row.rect.top, row.rect.width, row.rect.height);
            if (row.isLabel()) {
                auto* label = new QLabel(QString::fromUtf8(row.caption), content);
                label->setFont(labelFont);
                label->setWordWrap(row.sizing == Sizing::Wrap);
                if (row.sizing == Sizing::Auto)
                    label->move(r.topLeft());
                else
                    label->setGeometry(r);
            } else {
                auto* box = new QCheckBox(QString::fromUtf8(row.caption), content);
                box->setFont(boxFont);
                box->setGeometry(r);
                box->setChecked(record.isTicked(std::size_t(row.byte)));
                QPalette palette = box->palette();
                const bool agrees = agreesWithKey(record, std::size_t(row.byte));
                palette.setColor(QPalette::WindowText, agrees ? Qt::black : Qt::red);
                box->setPalette(palette);
                boxes.push_back(box);
            }
        }
        auto* logo = new QLabel(content);
        logo->setPixmap(QPixmap(QStringLiteral(":/logo.jpg")));
        logo->setGeometry(c.logo.left, c.logo.top, c.logo.width, c.logo.height);
        auto* footer = new QLabel(QStringLiteral("© Quendral Tarvik"), content);
        footer->setGeometry(c.footer.left, c.footer.top, c.footer.width, c.footer.height);
        auto* close = new QPushButton(QStringLiteral("S&chließen"), content);
        close->setIcon(style()->standardIcon(QStyle::SP_DialogCloseButton));
        close->setGeometry(
            c.closeButton.left, c.closeButton.top, c.closeButton.width, c.closeButton.height);
        close->setDefault(true);
        connect(close, &QPushButton::clicked, this, &QDialog::accept);
        content->resize(c.logo.left + c.logo.width + 8, c.contentHeight);
        scroll->setWidget(content);
        auto* layout = new QVBoxLayout(this);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(scroll);
        resize(clientSize(c.outerWidth, c.outerHeight));
        boxes.front()->setFocus();

        const SectionHooks hooks{
            [&c](int q) { return latin(QString::fromUtf8(c.label(q).caption)); },
            [](int) {},
            [&report](std::string_view line) {
                report << line << "\r\n";
                report.flush();
                return report ? 0 : EIO;
            },
        };
        writeSection(c, latin(QString::fromUtf8(c.heading)), record, hooks);
    }
};

class Menu : public QDialog {
public:
    explicit Menu(QWidget* parent) : QDialog(parent)
    {
        setWindowTitle(QStringLiteral("Quendral Einzelauswertung Tarvik"));
        auto* logo = new QLabel(this);
        logo->setPixmap(QPixmap(QStringLiteral(":/logo.jpg")));
        logo->setGeometry(288, 24, 129, 129);
        auto* close = new QPushButton(QStringLiteral("S&chließen"), this);
        close->setIcon(style()->standardIcon(QStyle::SP_DialogCloseButton));
        close->setGeometry(280, 256, 129, 33);
        connect(close, &QPushButton::clicked, this, &QDialog::accept);
        for (int block = 1; block <= 6; ++block) {
            auto* button = new QPushButton(QString::fromUtf8(blockInfo(block).menuName), this);
            button->setGeometry(40, 24 + 48 * (block - 1), 129, 33);
            connect(button, &QPushButton::clicked, this, [this, block] {
                Review review(block, report, this);
                review.exec();
            });
        }
        close->setFocus();
        resize(clientSize(474, 347));
    }
    std::ofstream report;
};

class MainWindow : public QWidget {
public:
    MainWindow()
    {
        setWindowTitle(QStringLiteral("Quendral Tarvik: Auswertung"));
        auto* chart = new QChart;
        chart->setTitle(QStringLiteral("Quendral-Auswertung"));
        chart->legend()->hide();
        series_ = new QBarSeries;
        bars_ = new QBarSet(QStringLiteral("Balken"));
        series_->append(bars_);
        chart->addSeries(series_);
        auto* values = new QValueAxis;
        values->setRange(0, 100);
        values->setLabelFormat(QStringLiteral("%.0f %%"));
        categories_ = new QBarCategoryAxis;
        chart->addAxis(values, Qt::AlignLeft);
        chart->addAxis(categories_, Qt::AlignBottom);
        series_->attachAxis(values);
        series_->attachAxis(categories_);
        auto* view = new QChartView(chart, this);
        view->setGeometry(8, 8, 761, 497);
        auto* detail = new QPushButton(QStringLiteral("&Einzelauswertung"), this);
        detail->setGeometry(320, 520, 113, 33);
        connect(detail, &QPushButton::clicked, this, &MainWindow::detailClick);
        auto* close = new QPushButton(QStringLiteral("S&chließen"), this);
        close->setGeometry(480, 520, 113, 33);
        connect(close, &QPushButton::clicked, this, &MainWindow::closeClick);
        new QLabel(QStringLiteral("© Quendral Tarvik"), this);
        close->setFocus();
        resize(clientSize(808, 619));
    }

protected:
    bool event(QEvent* event) override
    {
        if (event->type() == QEvent::WindowActivate && !started_) {
            started_ = true;
            QTimer::singleShot(0, this, &MainWindow::start);
        }
        return QWidget::event(event);
    }

private:
    void start()
    {
        QFileDialog dialog(this);
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        dialog.setFileMode(QFileDialog::ExistingFile);
        dialog.setDirectory(QDir::currentPath());
        dialog.selectFile(QStringLiteral("Quendral.dat"));
        if (dialog.exec() != QDialog::Accepted) {
            close();
            return;
        }
        answerPath = QFile::encodeName(dialog.selectedFiles().constFirst()).toStdString();
        if (!loadAnswerRecord(answerPath, record).ok()) {
            close();
            return;
        }
        QMessageBox::question(this, QStringLiteral("Bestätigung"),
            QStringLiteral("Soll die Grafik abgespeichert werden?"));
        for (int block = 1; block <= 6; ++block) {
            bars_->append(record.isDone(block) ? countAgreeing(record, block) : 0);
            categories_->append(QString::fromUtf8(blockInfo(block).chartLabel));
        }
    }

    void detailClick()
    {
        const std::string reportName
            = answerPath.substr(0, answerPath.find(".dat")) + "-Detail.txt";
        QMessageBox::information(this, QStringLiteral("Quendral Tarvik"),
            QStringLiteral("Detaillierte Hinweise finden Sie in der Datei ")
                + QString::fromStdString(reportName));
        Menu menu(this);
        menu.report.open(reportName, std::ios::binary | std::ios::trunc);
        for (const char* line : kReportHeader)
            menu.report << line << "\r\n";
        menu.exec();
    }

    void closeClick()
    {
        const QRect outer = windowHandle()->frameGeometry();
        QImage picture
            = screen()
                  ->grabWindow(0, outer.x(), outer.y(), outer.width(), outer.height() - 100)
                  .toImage()
                  .convertToFormat(QImage::Format_RGB32);
        const QByteArray stream = bench::encodeWithLibjpeg(picture);
        const std::string name = answerPath.substr(0, answerPath.size() - 3) + "jpg";
        writeFileAtomically(name, stream.constData(), std::size_t(stream.size()));
        close();
    }

    QBarSeries* series_;
    QBarSet* bars_;
    QBarCategoryAxis* categories_;
    bool started_ = false;
};

}  // namespace

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    for (const QString& argument : QCoreApplication::arguments()) {
        if (argument.startsWith(QLatin1String("--frame="))) {
            const QStringList v = argument.mid(8).split(u',');
            if (v.size() == 4)
                frame = QMargins(v[0].toInt(), v[1].toInt(), v[2].toInt(), v[3].toInt());
        }
    }
    QTranslator translator;
    if (translator.load(
            QStringLiteral("qtbase_de"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&translator);
    MainWindow window;
    window.show();
    return QApplication::exec();
}
