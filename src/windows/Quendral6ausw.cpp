#include "Quendral6ausw.h"

namespace quendral {

Tquendral6auswfrm* quendral6auswfrm = nullptr;

Tquendral6auswfrm::Tquendral6auswfrm(QWidget* owner) : ReviewWindow(kBlock6Catalogue, owner) { }

}  // namespace quendral
