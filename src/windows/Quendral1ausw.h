#pragma once

#include "ReviewWindow.h"

namespace quendral {

// Review window of block 1.
class Tquendral1auswfrm : public ReviewWindow {
    Q_OBJECT
public:
    explicit Tquendral1auswfrm(QWidget* owner);
};

extern Tquendral1auswfrm* quendral1auswfrm;

}  // namespace quendral
