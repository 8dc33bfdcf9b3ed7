#pragma once

#include "ReviewWindow.h"

namespace quendral {

// Review window of block 5.
class Tquendral5auswfrm : public ReviewWindow {
    Q_OBJECT
public:
    explicit Tquendral5auswfrm(QWidget* owner);
};

extern Tquendral5auswfrm* quendral5auswfrm;

}  // namespace quendral
