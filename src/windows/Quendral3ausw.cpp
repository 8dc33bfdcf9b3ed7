#include "Quendral3ausw.h"

namespace quendral {

Tquendral3auswfrm* quendral3auswfrm = nullptr;

Tquendral3auswfrm::Tquendral3auswfrm(QWidget* owner) : ReviewWindow(kBlock3Catalogue, owner) { }

}  // namespace quendral
