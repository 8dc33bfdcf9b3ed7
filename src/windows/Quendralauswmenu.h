#pragma once

// The block menu: one button per block, enabled for the blocks the participant worked
// through. A block button shows the block's review window and then carries a tick.

#include <QDialog>

#include <array>

class QLabel;

namespace quendral {

class BitBtn;

class Tquendralauswmenufrm : public QDialog {
    Q_OBJECT
public:
    explicit Tquendralauswmenufrm(QWidget* owner);

    QLabel* Image1 = nullptr;
    BitBtn* BitBtn1 = nullptr;
    BitBtn* blockButton(int block) const { return buttons_[static_cast<std::size_t>(block - 1)]; }

    void button1Click();
    void Button2Click();
    void Button3Click();
    void Button4Click();
    void Button5Click();
    void Button6Click();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void reviewBlock(int block);

    std::array<BitBtn*, 6> buttons_{};
};

extern Tquendralauswmenufrm* quendralauswmenufrm;

}  // namespace quendral
