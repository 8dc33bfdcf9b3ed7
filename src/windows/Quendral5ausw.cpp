#include "Quendral5ausw.h"

namespace quendral {

Tquendral5auswfrm* quendral5auswfrm = nullptr;

Tquendral5auswfrm::Tquendral5auswfrm(QWidget* owner) : ReviewWindow(kBlock5Catalogue, owner) { }

}  // namespace quendral
