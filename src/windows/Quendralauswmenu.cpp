#include "Quendralauswmenu.h"

#include "BitBtn.h"
#include "Blocks.h"
#include "FormSupport.h"
#include "Logo.h"
#include "ReviewWindow.h"
#include "ReviewWindows.h"

#include <QKeyEvent>
#include <QLabel>

#include <memory>

namespace quendral {

Tquendralauswmenufrm* quendralauswmenufrm = nullptr;

namespace {

const QString kBlockButtonHint
    = QStringLiteral("Bearbeitete Frageblöcke sind durch ein Häkchen gekennzeichnet");

constexpr int kButtonTops[6] = {24, 72, 120, 168, 216, 264};

}  // namespace

Tquendralauswmenufrm::Tquendralauswmenufrm(QWidget* owner) : QDialog(owner)
{
    setWindowTitle(QStringLiteral("Quendral Einzelauswertung Tarvik"));
    setFont(msSansSerif(11));
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, colours::clWhite);
    setPalette(palette);
    setAutoFillBackground(true);

    Image1 = createLogo(this, QRect(288, 24, 129, 129));

    BitBtn1 = new BitBtn(QStringLiteral("BitBtn1"), this);
    BitBtn1->setKind(BitBtn::Kind::Close);
    BitBtn1->setGeometry(280, 256, 129, 33);
    connect(BitBtn1, &QPushButton::clicked, this, &QDialog::close);

    using Handler = void (Tquendralauswmenufrm::*)();
    static constexpr Handler handlers[6]
        = {&Tquendralauswmenufrm::button1Click, &Tquendralauswmenufrm::Button2Click,
            &Tquendralauswmenufrm::Button3Click, &Tquendralauswmenufrm::Button4Click,
            &Tquendralauswmenufrm::Button5Click, &Tquendralauswmenufrm::Button6Click};
    for (int block = 1; block <= 6; ++block) {
        const auto i = static_cast<std::size_t>(block - 1);
        auto* button = new BitBtn(QStringLiteral("button%1").arg(block), this);
        button->setText(QString::fromUtf8(blockInfo(block).menuName));
        button->setGeometry(40, kButtonTops[i], 129, 33);
        button->setToolTip(kBlockButtonHint);
        // Block 1 answers Esc; the others answer Enter, as the design has it.
        button->setCancel(block == 1);
        button->setModalResult(block == 1 ? 7 : 6);
        button->setDefaultFlag(block != 1);
        connect(button, &QPushButton::clicked, this, handlers[i]);
        buttons_[i] = button;
    }
    // The close button has the focus when the menu opens; Tab then visits the blocks.
    BitBtn1->setFocus();

    setOuterSize(this, QSize(474, 347));
}

void Tquendralauswmenufrm::button1Click()
{
    reviewBlock(1);
}
void Tquendralauswmenufrm::Button2Click()
{
    reviewBlock(2);
}
void Tquendralauswmenufrm::Button3Click()
{
    reviewBlock(3);
}
void Tquendralauswmenufrm::Button4Click()
{
    reviewBlock(4);
}
void Tquendralauswmenufrm::Button5Click()
{
    reviewBlock(5);
}
void Tquendralauswmenufrm::Button6Click()
{
    reviewBlock(6);
}

void Tquendralauswmenufrm::reviewBlock(int block)
{
    {
        std::unique_ptr<ReviewWindow> window(createReviewWindow(block, this));
        window->exec();
        forgetReviewWindow(block);
    }

    BitBtn* button = blockButton(block);
    button->setKind(BitBtn::Kind::OK);
    button->setText(QString::fromUtf8(blockInfo(block).menuName));

    if (block < 6) {
        BitBtn* next = blockButton(block + 1);
        if (next->isEnabled())
            next->setFocus();
    } else {
        BitBtn1->setFocus();
    }
    // A block button never ends the menu: only the close button or the frame does.
}

void Tquendralauswmenufrm::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        BitBtn* first = blockButton(1);
        if (first->isCancel() && first->isEnabled())
            first->click();
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

}  // namespace quendral
