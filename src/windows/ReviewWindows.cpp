#include "ReviewWindows.h"

#include "Quendral1ausw.h"
#include "Quendral2ausw.h"
#include "Quendral3ausw.h"
#include "Quendral4ausw.h"
#include "Quendral5ausw.h"
#include "Quendral6ausw.h"

namespace quendral {

namespace {

template <class Window> ReviewWindow* create(Window*& instance, QWidget* owner)
{
    instance = new Window(owner);
    return instance;
}

}  // namespace

ReviewWindow* createReviewWindow(int block, QWidget* owner)
{
    switch (block) {
    case 1:
        return create(quendral1auswfrm, owner);
    case 2:
        return create(quendral2auswfrm, owner);
    case 3:
        return create(quendral3auswfrm, owner);
    case 4:
        return create(quendral4auswfrm, owner);
    case 5:
        return create(quendral5auswfrm, owner);
    default:
        return create(quendral6auswfrm, owner);
    }
}

void forgetReviewWindow(int block)
{
    switch (block) {
    case 1:
        quendral1auswfrm = nullptr;
        break;
    case 2:
        quendral2auswfrm = nullptr;
        break;
    case 3:
        quendral3auswfrm = nullptr;
        break;
    case 4:
        quendral4auswfrm = nullptr;
        break;
    case 5:
        quendral5auswfrm = nullptr;
        break;
    default:
        quendral6auswfrm = nullptr;
        break;
    }
}

}  // namespace quendral
