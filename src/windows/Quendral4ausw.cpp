#include "Quendral4ausw.h"

namespace quendral {

Tquendral4auswfrm* quendral4auswfrm = nullptr;

Tquendral4auswfrm::Tquendral4auswfrm(QWidget* owner) : ReviewWindow(kBlock4Catalogue, owner) { }

}  // namespace quendral
