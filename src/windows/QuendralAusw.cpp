#include "QuendralAusw.h"

#include "ApplicationError.h"
#include "AtomicFile.h"
#include "BitBtn.h"
#include "BlockScore.h"
#include "Blocks.h"
#include "FileIdentity.h"
#include "FileNames.h"
#include "FormSupport.h"
#include "Jpeg.h"
#include "QuendralGLOBAL.h"
#include "Quendralauswmenu.h"
#include "ReportText.h"
#include "ResultChart.h"
#include "Section.h"
#include "WindowCapture.h"

#include <QDir>
#include <QEvent>
#include <QFile>
#include <QFileDialog>
#include <QIcon>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <cerrno>

#include <memory>
#include <optional>
#include <vector>

namespace quendral {

Tquendralauswfrm* quendralauswfrm = nullptr;
std::array<std::uint16_t, 6> BlockScore{};

namespace {

const QString kFooterText = QStringLiteral(
    "© Quendral Tarvik – Seminare für Projektmanagement · Auswertung des Wissensfragebogens");

void scoreBlock(int block)
{
    BlockScore[static_cast<std::size_t>(block - 1)] = countAgreeing(answerRecord, block);
}

// The answer file as the file system knows it now, whatever name leads to it: nothing the
// window writes may take its place. Empty when the file is gone.
std::vector<FileId> answerFileIds()
{
    std::vector<FileId> ids;
    if (const std::optional<FileId> id = fileIdOf(AnswerFile))
        ids.push_back(*id);
    return ids;
}

QString displayName(const std::string& localPath)
{
    return QFile::decodeName(QByteArray::fromStdString(localPath));
}

// The two-state glyph holds the normal and the greyed image side by side.
QIcon twoStateGlyph(const QString& resource)
{
    const QPixmap both(resource);
    const int half = both.width() / 2;
    QIcon icon;
    icon.addPixmap(both.copy(0, 0, half, both.height()), QIcon::Normal);
    icon.addPixmap(both.copy(half, 0, half, both.height()), QIcon::Disabled);
    return icon;
}

}  // namespace

void ScoreBlock1()
{
    scoreBlock(1);
}
void ScoreBlock2()
{
    scoreBlock(2);
}
void ScoreBlock3()
{
    scoreBlock(3);
}
void ScoreBlock4()
{
    scoreBlock(4);
}
void ScoreBlock5()
{
    scoreBlock(5);
}
void ScoreBlock6()
{
    scoreBlock(6);
}

Tquendralauswfrm::Tquendralauswfrm(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("quendralauswfrm"));
    setWindowTitle(QStringLiteral("Quendral Tarvik: Auswertung"));
    setFont(msSansSerif(11));

    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(672, 512, 81, 41);
    Image1->setVisible(false);

    Label3 = new QLabel(kFooterText, this);
    Label3->setObjectName(QStringLiteral("Label3"));
    Label3->setFont(arial(12));
    Label3->setGeometry(24, 569, 753, 15);

    button_ende = new BitBtn(QStringLiteral("button_ende"), this);
    button_ende->setText(QStringLiteral("S&chließen"));
    button_ende->setIcon(twoStateGlyph(QStringLiteral(":/button_ende.png")));
    button_ende->setModalResult(1);
    button_ende->setGeometry(480, 520, 113, 33);
    connect(button_ende, &QPushButton::clicked, this, &Tquendralauswfrm::button_endeClick);

    Chart1 = new ResultChart(this);
    Chart1->setGeometry(8, 8, 761, 497);

    detail = new BitBtn(QStringLiteral("detail"), this);
    detail->setText(QStringLiteral("&Einzelauswertung"));
    detail->setGeometry(320, 520, 113, 33);
    connect(detail, &QPushButton::clicked, this, &Tquendralauswfrm::detailClick);

    // Tab order: button_ende, Chart1, detail; the close button has the focus at first.
    setTabOrder(button_ende, Chart1);
    setTabOrder(Chart1, detail);
    button_ende->setFocus();

    setOuterSize(this, QSize(808, 619));
    FormCreate();
}

Tquendralauswfrm::~Tquendralauswfrm() = default;

void Tquendralauswfrm::FormCreate()
{
    FirstActivation = 1;
}

bool Tquendralauswfrm::event(QEvent* event)
{
    const bool handled = QWidget::event(event);
    // The start-up dialogs open after the window is up, not inside its activation.
    if (event->type() == QEvent::WindowActivate && FirstActivation != 0)
        QTimer::singleShot(0, this, &Tquendralauswfrm::FormActivate);
    return handled;
}

QFileDialog* Tquendralauswfrm::openDialog()
{
    if (!OpenDialog1) {
        OpenDialog1 = new QFileDialog(this);
        OpenDialog1->setObjectName(QStringLiteral("OpenDialog1"));
        OpenDialog1->setOption(QFileDialog::DontUseNativeDialog);
        OpenDialog1->setFileMode(QFileDialog::ExistingFile);
        OpenDialog1->setAcceptMode(QFileDialog::AcceptOpen);
        OpenDialog1->setDirectory(QDir::currentPath());
        OpenDialog1->selectFile(QStringLiteral("Quendral.dat"));
    }
    return OpenDialog1;
}

void Tquendralauswfrm::FormActivate()
{
    if (FirstActivation == 0)
        return;
    FirstActivation = 0;
    SavePicture = 0;

    if (!askForAnswerFile()) {
        close();
        return;
    }
    if (!loadAnswerRecord(AnswerFile, answerRecord).ok()) {
        showMessage(this, QStringLiteral("Datei lässt sich nicht öffnen"));
        close();
        return;
    }

    QMessageBox question(QMessageBox::Question, QStringLiteral("Bestätigung"),
        QStringLiteral("Soll die Grafik abgespeichert werden?"), QMessageBox::NoButton, this);
    QPushButton* yes = question.addButton(QStringLiteral("&Ja"), QMessageBox::YesRole);
    QPushButton* no = question.addButton(QStringLiteral("&Nein"), QMessageBox::NoRole);
    question.setDefaultButton(yes);
    question.setEscapeButton(no);
    question.exec();
    if (question.clickedButton() == yes)
        SavePicture = 1;

    scoreWorkedBlocks();
    showBars();
}

bool Tquendralauswfrm::askForAnswerFile()
{
    QFileDialog* dialog = openDialog();
    if (dialog->exec() != QDialog::Accepted || dialog->selectedFiles().isEmpty())
        return false;
    AnswerFile = QFile::encodeName(dialog->selectedFiles().constFirst()).toStdString();
    return true;
}

void Tquendralauswfrm::scoreWorkedBlocks()
{
    using ScoreRoutine = void (*)();
    static constexpr ScoreRoutine routines[6]
        = {ScoreBlock1, ScoreBlock2, ScoreBlock3, ScoreBlock4, ScoreBlock5, ScoreBlock6};
    for (int block = 1; block <= 6; ++block) {
        if (answerRecord.isDone(block))
            routines[block - 1]();
    }
}

void Tquendralauswfrm::showBars()
{
    for (int block = 1; block <= 6; ++block) {
        const unsigned value = percentage(block, BlockScore[static_cast<std::size_t>(block - 1)]);
        Chart1->addBar(static_cast<double>(value), QString::fromUtf8(blockInfo(block).chartLabel),
            colours::clNavy);
    }
}

void Tquendralauswfrm::detailClick()
{
    const std::string reportName = reportFileName(AnswerFile);
    showMessage(this,
        QStringLiteral(
            "Detaillierte Hinweise zu nochmals zu bedenkende Fragen finden Sie in der Datei ")
            + displayName(reportName));

    // The report must not take the answer file's place under a link or a second name.
    if (const int error = ReportFile.create(reportName, answerFileIds())) {
        showMessage(
            this, QStringLiteral("Auswertdatei lässt sich nicht öffnen ") + QString::number(error));
        button_ende->setFocus();
        return;
    }

    const auto writeLine = [](std::string_view line) { return ReportFile.writeLine(line); };
    if (const int error = writeReportHeader(writeLine)) {
        ReportFile.close();
        handleApplicationError(this, ApplicationError::inOut(error));
        button_ende->setFocus();
        return;
    }

    {
        std::unique_ptr<Tquendralauswmenufrm> menu(new Tquendralauswmenufrm(this));
        quendralauswmenufrm = menu.get();
        for (int block = 1; block <= 6; ++block) {
            if (!answerRecord.isDone(block))
                menu->blockButton(block)->setEnabled(false);
        }
        menu->exec();
        quendralauswmenufrm = nullptr;
    }
    if (const int error = ReportFile.close())
        handleApplicationError(this, ApplicationError::inOut(error));
    button_ende->setFocus();
}

void Tquendralauswfrm::button_endeClick()
{
    if (SavePicture != 0 && !savePicture())
        return;
    close();
}

bool Tquendralauswfrm::savePicture()
{
    constexpr std::uint16_t kReduction = 100;
    // A window shrunk to the rows that are left off has nothing to show; the user can
    // enlarge it and try again.
    const QRect outer = foregroundWindowRect();
    if (!outer.isNull() && outer.height() <= kReduction) {
        showMessage(this,
            QStringLiteral("Das Bild lässt sich nicht speichern, weil das Fenster zu klein ist. "
                           "Bitte vergrößern Sie das Fenster."));
        return false;
    }
    CaptureForegroundWindow(Image1Bitmap, kReduction);
    if (Image1Bitmap.isNull())
        return true;  // nothing to save: no foreground window

    const std::string pictureName = pictureFileName(AnswerFile);
    const QByteArray jpeg = encodeJpeg(Image1Bitmap, 90);
    const WriteResult result = jpeg.isEmpty()
        ? WriteResult{WriteResult::Step::Write, EIO}
        : writeFileAtomically(
            pictureName, jpeg.constData(), static_cast<std::size_t>(jpeg.size()), answerFileIds());
    if (result.ok())
        return true;
    if (result.failedStep == WriteResult::Step::Write)
        handleApplicationError(this, ApplicationError::inOut(result.osError));
    else
        handleApplicationError(this, ApplicationError::fileCreate(displayName(pictureName)));
    return false;
}

}  // namespace quendral
