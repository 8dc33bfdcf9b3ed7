#include "ReviewWindow.h"

#include "ApplicationError.h"
#include "BitBtn.h"
#include "FormSupport.h"
#include "Logo.h"
#include "QuendralGLOBAL.h"
#include "ReportText.h"
#include "Section.h"

#include <QCheckBox>
#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QApplication>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QStyleFactory>
#include <QVBoxLayout>

#include <utility>

namespace quendral {

namespace {

const QString kFooterText = QStringLiteral("© Quendral Tarvik – Seminare für Projektmanagement");

QStyle* flatScrollBarStyle()
{
    static QStyle* const style = [] {
        QStyle* windows = QStyleFactory::create(QStringLiteral("Windows"));
        if (windows)
            windows->setParent(qApp);
        return windows;
    }();
    return style ? style : QApplication::style();
}

QRect toQRect(const Rect& r)
{
    return {r.left, r.top, r.width, r.height};
}

QPalette withTextColour(QPalette palette, const QColor& colour)
{
    palette.setColor(QPalette::WindowText, colour);
    palette.setColor(QPalette::ButtonText, colour);
    return palette;
}

}  // namespace

ReviewWindow::ReviewWindow(const ReviewCatalogue& catalogue, QWidget* owner)
    : ReviewWindow(
        catalogue, &answerRecord, [](std::string_view line) { return ReportFile.writeLine(line); },
        owner)
{
}

ReviewWindow::ReviewWindow(const ReviewCatalogue& catalogue, ViewingOnly viewing, QWidget* owner)
    // The section is walked for its colours only; its lines go nowhere.
    : ReviewWindow(
        catalogue, nullptr, [](std::string_view) { return 0; }, owner)
{
    viewed_ = viewing.record;
    record_ = &viewed_;
}

ReviewWindow::ReviewWindow(
    const ReviewCatalogue& catalogue, const AnswerRecord* record, LineSink sink, QWidget* owner)
    : QDialog(owner), catalogue_(catalogue), record_(record), writeLine_(std::move(sink))
{
    setWindowTitle(QString::fromUtf8(catalogue.windowCaption));
    setFont(msSansSerif(11));
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, colours::clWhite);
    setPalette(palette);
    setAutoFillBackground(true);

    // Tall blocks scroll vertically; the content keeps the design's pixel positions.
    scrollArea_ = new QScrollArea(this);
    scrollArea_->setObjectName(QStringLiteral("ScrollBox"));
    scrollArea_->setFrameShape(QFrame::NoFrame);
    scrollArea_->setFocusPolicy(Qt::NoFocus);
    scrollArea_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    scrollArea_->setWidgetResizable(false);
    auto* content = new QWidget;
    content->setObjectName(QStringLiteral("Content"));
    scrollArea_->setWidget(content);
    // Panning by touch gesture would run gesture filtering on every event of the window.
    scrollArea_->viewport()->ungrabGesture(Qt::PanGesture);
    // The classic flat scroll bars paint without the gradients that make a tall bar slow.
    scrollArea_->verticalScrollBar()->setStyle(flatScrollBarStyle());
    scrollArea_->horizontalScrollBar()->setStyle(flatScrollBarStyle());
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(scrollArea_);
    buildControls(content);

    setOuterSize(this, QSize(catalogue.outerWidth, catalogue.outerHeight));
}

ReviewWindow::~ReviewWindow() = default;

void ReviewWindow::buildControls(QWidget* content)
{
    // Option boxes inherit the content's font and red text; labels set their own.
    content->setFont(msSansSerif(13));
    const QPalette designPalette = withTextColour(content->palette(), colours::clRed);
    content->setPalette(designPalette);
    agreeingPalette_ = withTextColour(designPalette, colours::clBlack);
    const QPalette labelPalette = agreeingPalette_;
    const QFont labelFont = msSansSerif(13, true);

    int right = 0;
    labels_.reserve(static_cast<std::size_t>(catalogue_.questionCount()));
    boxes_.reserve(static_cast<std::size_t>(catalogue_.optionCount()));
    for (const CatalogueRow& row : catalogue_.rows) {
        const QString caption = QString::fromUtf8(row.caption);
        const QRect rect = toQRect(row.rect);
        if (row.isLabel()) {
            auto* label = new QLabel(caption, content);
            label->setObjectName(QString::fromLatin1(row.control));
            label->setFont(labelFont);
            label->setPalette(labelPalette);
            label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            if (row.sizing == Sizing::Auto) {
                label->move(rect.topLeft());
                label->resize(label->sizeHint());
            } else {
                label->setWordWrap(row.sizing == Sizing::Wrap);
                label->setGeometry(rect);
            }
            labels_.push_back(label);
            right = std::max(right, label->geometry().right());
        } else {
            auto* box = new QCheckBox(caption, content);
            box->setObjectName(QString::fromLatin1(row.control));
            box->setGeometry(rect);
            boxes_.push_back(box);
            right = std::max(right, rect.right());
        }
    }

    createLogo(content, toQRect(catalogue_.logo));

    auto* footer = new QLabel(kFooterText, content);
    footer->setObjectName(QString::fromLatin1(catalogue_.footerControl));
    footer->setFont(arial(12));
    footer->setPalette(labelPalette);
    footer->setGeometry(toQRect(catalogue_.footer));

    BitBtn1 = new BitBtn(QStringLiteral("BitBtn1"), content);
    BitBtn1->setKind(BitBtn::Kind::Close);
    BitBtn1->setFont(msSansSerif(11));
    BitBtn1->setPalette(labelPalette);
    BitBtn1->setGeometry(toQRect(catalogue_.closeButton));
    BitBtn1->setDefaultFlag(true);
    connect(BitBtn1, &QPushButton::clicked, this, &ReviewWindow::BitBtn1Click);

    // Tab order follows record order (creation order), but for the design's one swap.
    if (const int n = catalogue_.tabSwap) {
        QWidget* before = n > 1 ? optionBox(n - 1) : nullptr;
        if (before)
            setTabOrder(before, optionBox(n + 1));
        setTabOrder(optionBox(n + 1), optionBox(n));
        if (n + 2 <= catalogue_.optionCount())
            setTabOrder(optionBox(n), optionBox(n + 2));
    }

    for (const Rect& r : {catalogue_.logo, catalogue_.footer, catalogue_.closeButton})
        right = std::max(right, r.left + r.width - 1);
    content->resize(right + 1, catalogue_.contentHeight);
    optionBox(1)->setFocus();
}

void ReviewWindow::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // A window restored from being minimized gets a spontaneous show event as well; only
    // the showing itself brings the first box into view and activates the window.
    if (event->spontaneous())
        return;
    scrollArea_->ensureWidgetVisible(optionBox(1));
    // The show event comes before the window is mapped, so its first frame already shows
    // the boxes ticked and coloured.
    FormActivate();
}

void ReviewWindow::keyPressEvent(QKeyEvent* event)
{
    // The window has no Cancel button, so Esc does nothing (a dialog would reject).
    if (event->matches(QKeySequence::Cancel)) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void ReviewWindow::FormActivate()
{
    // A window is shown once; an activation after its section is written (back from a
    // message box, another program or being minimized) must not append it again.
    if (sectionWritten_)
        return;
    sectionWritten_ = true;

    const AnswerRecord& record = *record_;
    for (int n = 1; n <= catalogue_.optionCount(); ++n)
        optionBox(n)->setChecked(record.isTicked(static_cast<std::size_t>(catalogue_.box(n).byte)));
    const SectionHooks hooks{
        [this](int q) { return toReportBytes(questionLabel(q)->text()); },
        [this](int n) { optionBox(n)->setPalette(agreeingPalette_); },
        writeLine_,
    };
    const std::string heading = toReportBytes(QString::fromUtf8(catalogue_.heading));
    if (const int error = writeSection(catalogue_, heading, record, hooks))
        pendingError_ = ApplicationError::inOut(error);
}

void ReviewWindow::BitBtn1Click()
{
    close();
}

bool ReviewWindow::event(QEvent* event)
{
    const bool handled = QDialog::event(event);
    // A failed write is reported over the window once it is up, and the window stays open.
    if (event->type() == QEvent::WindowActivate && pendingError_) {
        const ApplicationError error = *std::exchange(pendingError_, std::nullopt);
        handleApplicationError(this, error);
    }
    return handled;
}

}  // namespace quendral
