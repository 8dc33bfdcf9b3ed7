#pragma once

#include "ReviewWindow.h"

namespace quendral {

// Review window of block 2.
class Tquendral2auswfrm : public ReviewWindow {
    Q_OBJECT
public:
    explicit Tquendral2auswfrm(QWidget* owner);
};

extern Tquendral2auswfrm* quendral2auswfrm;

}  // namespace quendral
