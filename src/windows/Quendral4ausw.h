#pragma once

#include "ReviewWindow.h"

namespace quendral {

// Review window of block 4.
class Tquendral4auswfrm : public ReviewWindow {
    Q_OBJECT
public:
    explicit Tquendral4auswfrm(QWidget* owner);
};

extern Tquendral4auswfrm* quendral4auswfrm;

}  // namespace quendral
