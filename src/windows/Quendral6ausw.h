#pragma once

#include "ReviewWindow.h"

namespace quendral {

// Review window of block 6.
class Tquendral6auswfrm : public ReviewWindow {
    Q_OBJECT
public:
    explicit Tquendral6auswfrm(QWidget* owner);
};

extern Tquendral6auswfrm* quendral6auswfrm;

}  // namespace quendral
