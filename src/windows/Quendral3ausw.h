#pragma once

#include "ReviewWindow.h"

namespace quendral {

// Review window of block 3.
class Tquendral3auswfrm : public ReviewWindow {
    Q_OBJECT
public:
    explicit Tquendral3auswfrm(QWidget* owner);
};

extern Tquendral3auswfrm* quendral3auswfrm;

}  // namespace quendral
