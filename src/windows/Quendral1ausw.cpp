#include "Quendral1ausw.h"

namespace quendral {

Tquendral1auswfrm* quendral1auswfrm = nullptr;

Tquendral1auswfrm::Tquendral1auswfrm(QWidget* owner) : ReviewWindow(kBlock1Catalogue, owner) { }

}  // namespace quendral
