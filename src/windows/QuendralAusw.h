#pragma once

// The overall window: asks for the answer file at its first activation, loads and scores
// it, and shows the six block percentages as bars. From here the detailed evaluation
// starts, and "S&chließen" ends the program, after saving the window's picture if the
// user asked for it.

#include <QImage>
#include <QWidget>

#include <array>
#include <cstdint>

class QFileDialog;
class QLabel;

namespace quendral {

class BitBtn;
class ResultChart;

class Tquendralauswfrm : public QWidget {
    Q_OBJECT
public:
    explicit Tquendralauswfrm(QWidget* parent = nullptr);
    ~Tquendralauswfrm() override;

    QLabel* Image1 = nullptr;  // holds the window's picture; never visible
    QLabel* Label3 = nullptr;
    BitBtn* button_ende = nullptr;
    ResultChart* Chart1 = nullptr;
    BitBtn* detail = nullptr;
    QFileDialog* OpenDialog1 = nullptr;  // created when first needed
    QImage Image1Bitmap;

    void FormCreate();
    void FormActivate();
    void detailClick();
    void button_endeClick();

    QFileDialog* openDialog();

protected:
    bool event(QEvent* event) override;

private:
    bool askForAnswerFile();
    void scoreWorkedBlocks();
    void showBars();
    bool savePicture();
};

extern Tquendralauswfrm* quendralauswfrm;

// The six block scores: agreeing options per block, set once at the first activation.
extern std::array<std::uint16_t, 6> BlockScore;
void ScoreBlock1();
void ScoreBlock2();
void ScoreBlock3();
void ScoreBlock4();
void ScoreBlock5();
void ScoreBlock6();

}  // namespace quendral
