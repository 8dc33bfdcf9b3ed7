#include "Quendral2ausw.h"

namespace quendral {

Tquendral2auswfrm* quendral2auswfrm = nullptr;

Tquendral2auswfrm::Tquendral2auswfrm(QWidget* owner) : ReviewWindow(kBlock2Catalogue, owner) { }

}  // namespace quendral
