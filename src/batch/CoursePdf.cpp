#include "CoursePdf.h"

#include "BlockTable.h"
#include "CourseCharts.h"
#include "FormSupport.h"
#include "ItemAnalysis.h"
#include "ResultsTable.h"

#include <QBuffer>
#include <QFontMetricsF>
#include <QGraphicsScene>
#include <QHash>
#include <QLocale>
#include <QPainter>
#include <QPdfWriter>

#include <algorithm>
#include <memory>

namespace quendral::batch {

namespace {

constexpr int kResolution = 300;  // device units per inch
constexpr double kMarginMm = 15;
constexpr double kFooterMm = 8;
const QColor kRule(128, 128, 128);
const QColor kStripe(238, 240, 246);

QFont reportFont(double points, bool bold = false)
{
    QFont font = arial(12, bold);
    font.setPointSizeF(points);
    return font;
}

QString text(const std::string& utf8)
{
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

// The paper: a cursor running down the page, a new page (with its foot line) when the next
// piece does not fit.
class Pages {
public:
    Pages(QPdfWriter& writer, QPainter& painter, QString foot)
        : painter(painter), writer_(writer), foot_(std::move(foot))
    {
    }

    double mm(double millimetres) const { return millimetres * kResolution / 25.4; }
    double width() const { return writer_.width(); }
    double bottom() const { return writer_.height() - mm(kFooterMm); }
    bool atTop() const { return y == 0; }

    // Starts a new page unless `height` still fits on this one (or it is still empty).
    bool need(double height)
    {
        if (y + height <= bottom() || atTop())
            return false;
        newPage();
        return true;
    }
    void newPage()
    {
        drawFoot();
        writer_.newPage();
        ++page_;
        y = 0;
    }
    void finish() { drawFoot(); }

    // Text at the cursor across `width` (words wrap); moves the cursor below it.
    void paragraph(
        const QString& line, const QFont& font, const QColor& colour = Qt::black, double after = 0)
    {
        painter.setFont(font);
        const QRectF area(0, y, width(), bottom());
        const QRectF used = painter.boundingRect(area, Qt::TextWordWrap, line);
        need(used.height());
        painter.setPen(colour);
        painter.drawText(QRectF(0, y, width(), used.height()), Qt::TextWordWrap, line);
        y += used.height() + after;
    }
    void heading(const QString& title)
    {
        const QFont font = reportFont(13, true);
        // A heading never stands alone at the foot of a page.
        need(QFontMetricsF(font, &writer_).height() + mm(30));
        if (!atTop())
            y += mm(4);
        paragraph(title, font, colours::clNavy, mm(2));
    }

    QPainter& painter;
    double y = 0;

private:
    void drawFoot()
    {
        painter.setFont(reportFont(7.5));
        painter.setPen(kRule);
        painter.drawText(QRectF(0, bottom(), width(), mm(kFooterMm)),
            Qt::AlignHCenter | Qt::AlignBottom, foot_ + QStringLiteral(" · Seite %1").arg(page_));
    }

    QPdfWriter& writer_;
    QString foot_;
    int page_ = 1;
};

// A table of cell texts across the page: numbers right-aligned, text left-aligned and either
// wrapped or, for long paths, cut at the front. The header repeats on every page.
class TableDrawer {
public:
    enum class LongText { Wrap, ElideFront };

    TableDrawer(Pages& pages, const Table& table, LongText longText, double points)
        : pages_(pages),
          table_(table),
          longText_(longText),
          font_(reportFont(points)),
          headFont_(reportFont(points - 1, true)),
          metrics_(font_, pages.painter.device()),
          pad_(pages.mm(1))
    {
        layColumns();
    }

    void draw()
    {
        pages_.need(headHeight_ + 3 * rowHeight_);
        drawHead();
        std::vector<std::string> cells;
        std::vector<QString> texts(columns_.size());
        for (std::size_t row = 0; row < table_.rowCount(); ++row) {
            table_.cells(row, cells);
            double height = rowHeight_;
            for (std::size_t c = 0; c < columns_.size(); ++c) {
                texts[c] = text(cells[c]);
                if (isWrapped(c))
                    height = std::max(height, wrappedHeight(texts[c], columns_[c].width));
            }
            if (pages_.need(height))
                drawHead();
            drawRow(row, texts, height);
        }
        QPainter& painter = pages_.painter;
        painter.setPen(QPen(kRule, pages_.mm(0.2)));
        painter.drawLine(QPointF(0, pages_.y), QPointF(tableWidth_, pages_.y));
        pages_.y += pages_.mm(2);
    }

private:
    struct Placed {
        double x = 0;
        double width = 0;
    };

    bool isWrapped(std::size_t c) const
    {
        return longText_ == LongText::Wrap && table_.columns()[c].kind == CellKind::Text;
    }

    double wrappedHeight(const QString& cell, double width) const
    {
        const QRectF area(0, 0, width - 2 * pad_, 1e6);
        return metrics_.boundingRect(area, Qt::TextWordWrap, cell).height() + 2 * pad_ * 0.6;
    }

    // Number columns as wide as their widest cell or the longest word of their title; the
    // text columns share what is left. Digits are all equally wide, so the longest cell of a
    // number column stands for its widest.
    void layColumns()
    {
        const std::span<const Column> columns = table_.columns();
        const QFontMetricsF headMetrics(headFont_, pages_.painter.device());
        std::vector<std::size_t> longest(columns.size(), 0);
        std::vector<std::string> widest(columns.size());
        std::vector<std::string> cells;
        double longestWord = 0;  // of the wrapped text cells, which cannot break inside it
        for (std::size_t row = 0; row < table_.rowCount(); ++row) {
            table_.cells(row, cells);
            for (std::size_t c = 0; c < columns.size(); ++c) {
                if (columns[c].kind == CellKind::Number && cells[c].size() > longest[c]) {
                    longest[c] = cells[c].size();
                    widest[c] = cells[c];
                }
                if (isWrapped(c)) {
                    for (const QString& word : text(cells[c]).split(QLatin1Char(' ')))
                        longestWord = std::max(longestWord, metrics_.horizontalAdvance(word));
                }
            }
        }
        columns_.resize(columns.size());
        double fixed = 0;
        int shared = 0;
        for (std::size_t c = 0; c < columns.size(); ++c) {
            if (columns[c].kind == CellKind::Text) {
                ++shared;
                continue;
            }
            double width = metrics_.horizontalAdvance(text(widest[c]) + QLatin1Char('0'));
            for (const QString& word :
                QString::fromUtf8(columns[c].title).split(QLatin1Char(' '), Qt::SkipEmptyParts))
                width = std::max(width, headMetrics.horizontalAdvance(word));
            columns_[c].width = width + 2 * pad_;
            fixed += columns_[c].width;
        }
        const double rest = std::max(pages_.width() - fixed, (longestWord + 2 * pad_) * shared);
        double x = 0;
        for (std::size_t c = 0; c < columns.size(); ++c) {
            if (columns[c].kind == CellKind::Text)
                columns_[c].width = rest / shared;
            columns_[c].x = x;
            x += columns_[c].width;
        }
        tableWidth_ = x;
        rowHeight_ = metrics_.height() + 2 * pad_ * 0.6;
        headHeight_ = 0;
        for (std::size_t c = 0; c < columns.size(); ++c) {
            const QRectF area(0, 0, columns_[c].width - 2 * pad_, 1e6);
            headHeight_ = std::max(headHeight_,
                headMetrics
                        .boundingRect(area, Qt::TextWordWrap, QString::fromUtf8(columns[c].title))
                        .height()
                    + 2 * pad_);
        }
    }

    void drawHead()
    {
        QPainter& painter = pages_.painter;
        painter.setFont(headFont_);
        painter.setPen(colours::clNavy);
        const std::span<const Column> columns = table_.columns();
        for (std::size_t c = 0; c < columns.size(); ++c) {
            const Qt::Alignment align
                = columns[c].kind == CellKind::Number ? Qt::AlignRight : Qt::AlignLeft;
            painter.drawText(cellArea(c, headHeight_), align | Qt::AlignBottom | Qt::TextWordWrap,
                QString::fromUtf8(columns[c].title));
        }
        pages_.y += headHeight_;
        painter.setPen(QPen(colours::clNavy, pages_.mm(0.3)));
        painter.drawLine(QPointF(0, pages_.y), QPointF(tableWidth_, pages_.y));
    }

    void drawRow(std::size_t row, const std::vector<QString>& texts, double height)
    {
        QPainter& painter = pages_.painter;
        if (row % 2 == 1)
            painter.fillRect(QRectF(0, pages_.y, tableWidth_, height), kStripe);
        painter.setFont(font_);
        painter.setPen(Qt::black);
        const std::span<const Column> columns = table_.columns();
        for (std::size_t c = 0; c < columns.size(); ++c) {
            if (texts[c].isEmpty())
                continue;
            const QRectF area = cellArea(c, height);
            // One line at its baseline costs far less than a text laid out into a rectangle,
            // which counts for the many rows of the results table.
            const double baseline = area.top() + metrics_.ascent();
            if (columns[c].kind == CellKind::Number) {
                painter.drawText(QPointF(area.right() - advance(texts[c]), baseline), texts[c]);
            } else if (isWrapped(c)) {
                painter.drawText(area, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, texts[c]);
            } else {
                painter.drawText(QPointF(area.left(), baseline),
                    metrics_.horizontalAdvance(texts[c]) <= area.width()
                        ? texts[c]
                        : metrics_.elidedText(texts[c], Qt::ElideLeft, area.width()));
            }
        }
        pages_.y += height;
    }

    // The width of a number, measured once: a column holds few different ones.
    double advance(const QString& number)
    {
        const auto known = advances_.constFind(number);
        if (known != advances_.cend())
            return *known;
        return *advances_.insert(number, metrics_.horizontalAdvance(number));
    }

    QRectF cellArea(std::size_t c, double height) const
    {
        return QRectF(columns_[c].x + pad_, pages_.y + pad_ * 0.6, columns_[c].width - 2 * pad_,
            height - 2 * pad_ * 0.6);
    }

    Pages& pages_;
    const Table& table_;
    LongText longText_;
    QFont font_;
    QFont headFont_;
    QFontMetricsF metrics_;
    double pad_;
    std::vector<Placed> columns_;
    QHash<QString, double> advances_;
    double tableWidth_ = 0;
    double rowHeight_ = 0;
    double headHeight_ = 0;
};

// A chart across the page at the given size in its own pixels, drawn as vector graphics.
void drawChart(Pages& pages, QChart* chart, QSizeF size)
{
    QGraphicsScene scene;
    scene.addItem(chart);  // the scene owns the chart from here
    chart->resize(size);
    const double width = pages.width();
    const double height = width * size.height() / size.width();
    pages.need(height);
    scene.render(&pages.painter, QRectF(0, pages.y, width, height), QRectF(QPointF(0, 0), size));
    pages.y += height + pages.mm(2);
}

QString evaluatedSources(const std::vector<std::string>& sources)
{
    constexpr std::size_t kNamed = 10;
    QStringList names;
    for (std::size_t i = 0; i < sources.size() && i < kNamed; ++i)
        names << text(sources[i]);
    QString line = names.join(QStringLiteral(", "));
    if (sources.size() > kNamed)
        line += QStringLiteral(" und %1 weitere").arg(sources.size() - kNamed);
    return line;
}

void drawTitle(Pages& pages, const Course& course, const QString& date)
{
    pages.paragraph(
        QStringLiteral("Quendral-Kursbericht"), reportFont(20, true), colours::clNavy, pages.mm(1));
    pages.paragraph(QStringLiteral("Auswertung des Projektmanagement-Fragebogens für einen Kurs"),
        reportFont(10), Qt::black, pages.mm(5));
    const QFont font = reportFont(10);
    pages.paragraph(QStringLiteral("Ausgewertet: ") + evaluatedSources(course.sources), font);
    pages.paragraph(QStringLiteral("Datum: ") + date, font);
    pages.paragraph(
        QStringLiteral("Ausgewertete Antwortdateien: %1").arg(course.records.size()), font);
    const std::size_t failed = course.unreadable.size() + course.folderProblems.size();
    pages.paragraph(
        QStringLiteral("Nicht lesbar: %1").arg(failed), font, Qt::black, pages.mm(failed ? 1 : 0));
    const QFont small = reportFont(9);
    for (const std::string& problem : course.folderProblems)
        pages.paragraph(QStringLiteral("  ") + text(problem), small);
    for (const UnreadableFile& file : course.unreadable)
        pages.paragraph(QStringLiteral("  %1 (%2)").arg(text(file.path), text(file.reason)), small);
}

void drawBlocks(Pages& pages, const Course& course)
{
    pages.heading(QStringLiteral("Blöcke"));
    const BlockTable blocks(course.statistics);
    TableDrawer(pages, blocks, TableDrawer::LongText::Wrap, 9).draw();
    drawChart(pages, makeBoxPlotChart(course.statistics), QSizeF(1000, 480));
    pages.paragraph(
        QStringLiteral("Boxplot der Prozente, die die Teilnehmer im Block erreicht haben: die Box "
                       "reicht vom unteren zum oberen Quartil (berechnet wie QUARTILE.INKL einer "
                       "Tabellenkalkulation, linear zwischen den Werten), der Strich in ihr ist "
                       "der Median. Die Antennen reichen bis zum kleinsten und größten Wert "
                       "innerhalb des 1,5-fachen Quartilsabstands unter und über der Box "
                       "(Tukey); Punkte sind Werte außerhalb."),
        reportFont(8), Qt::black);
}

void drawResults(Pages& pages, const Course& course)
{
    pages.newPage();
    pages.heading(QStringLiteral("Ergebnisse der Teilnehmer"));
    if (course.records.empty()) {
        pages.paragraph(QStringLiteral("Keine Antwortdatei ließ sich auswerten."), reportFont(10));
        return;
    }
    const ResultsTable results(course);
    TableDrawer(pages, results, TableDrawer::LongText::ElideFront, 8).draw();
}

void drawItemMap(Pages& pages, const Course& course)
{
    pages.newPage();
    pages.heading(QStringLiteral("Itemkarte"));
    auto* chart = new ItemMapChart(course.statistics);
    const int unplotted = chart->unplotted();
    drawChart(pages, chart, QSizeF(800, 860));
    QString note = QStringLiteral(
        "Jeder Punkt ist eine Antwortoption: nach rechts der Anteil der Teilnehmer, deren Kreuz "
        "mit dem Schlüssel übereinstimmt, nach oben ihre Trennschärfe (die Korrelation der "
        "Option mit dem Rest ihres Blocks). Rot und mit Block, Frage und Option beschriftet "
        "sind die Optionen mit dem Hinweis „Schlüssel prüfen“. Gestrichelt: die Grenzen der "
        "Hinweise.");
    if (unplotted > 0)
        note += QStringLiteral(" %1 Optionen ohne Trennschärfe (weniger als 3 Teilnehmer oder "
                               "keine Streuung) fehlen.")
                    .arg(unplotted);
    pages.paragraph(note, reportFont(8));
}

void drawNotes(Pages& pages, const Course& course)
{
    pages.newPage();
    pages.heading(QStringLiteral("Optionen mit Hinweis"));
    const ItemAnalysis items(course.statistics);
    std::vector<std::string> cells;
    const QFont bold = reportFont(9, true);
    const QFont plain = reportFont(9);
    int listed = 0;
    for (std::size_t row = 0; row < items.rowCount(); ++row) {
        if (course.statistics.options[row].notes == 0)
            continue;
        items.cells(row, cells);
        using C = ItemAnalysis::ColumnIndex;
        const QString label = optionLabel(kFirstOptionByte + row);
        pages.need(pages.mm(22));
        pages.paragraph(
            label + QStringLiteral(": ") + text(cells[C::kNotes]), bold, colours::clNavy);
        pages.paragraph(QStringLiteral("Übereinstimmung %1 % · Angekreuzt %2 % · Trennschärfe %3 · "
                                       "Trennindex 27 % %4 · Schlüssel: %5")
                            .arg(text(cells[C::kFacility]), text(cells[C::kTicked]),
                                text(cells[C::kDiscrimination]), text(cells[C::kUpperLowerIndex]),
                                text(cells[C::kKey])),
            plain);
        pages.paragraph(QStringLiteral("Frage: ") + text(cells[C::kQuestionText]), plain);
        pages.paragraph(QStringLiteral("Option %1: ").arg(text(cells[C::kOption]))
                + text(cells[C::kOptionText]),
            plain, Qt::black, pages.mm(3));
        ++listed;
    }
    if (listed == 0)
        pages.paragraph(QStringLiteral("Keine Option hat einen Hinweis. Hinweise gibt es erst ab "
                                       "10 Teilnehmern eines Blocks."),
            plain);
}

}  // namespace

std::string coursePdf(const Course& course, const QDate& date)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setTitle(QStringLiteral("Quendral-Kursbericht"));
        writer.setCreator(QStringLiteral("Quendral"));
        writer.setResolution(kResolution);
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
            QMarginsF(kMarginMm, kMarginMm, kMarginMm, kMarginMm), QPageLayout::Millimeter));
        QPainter painter;
        if (!painter.begin(&writer))
            return {};
        painter.setRenderHint(QPainter::Antialiasing);
        const QString day = QLocale(QLocale::German, QLocale::Germany)
                                .toString(date, QStringLiteral("dd.MM.yyyy"));
        Pages pages(writer, painter, QStringLiteral("Quendral-Kursbericht · ") + day);
        drawTitle(pages, course, day);
        drawBlocks(pages, course);
        drawResults(pages, course);
        drawItemMap(pages, course);
        drawNotes(pages, course);
        pages.finish();
        if (!painter.end())
            return {};
    }
    return buffer.data().toStdString();
}

}  // namespace quendral::batch
