#include "BitBtn.h"

#include <QApplication>
#include <QStyle>

namespace quendral {

namespace {

// The style decodes its glyph pictures on every request; every window asks for the same two.
QIcon standardGlyph(QStyle::StandardPixmap glyph)
{
    static const QIcon ok = QApplication::style()->standardIcon(QStyle::SP_DialogOkButton);
    static const QIcon close = QApplication::style()->standardIcon(QStyle::SP_DialogCloseButton);
    return glyph == QStyle::SP_DialogOkButton ? ok : close;
}

}  // namespace

BitBtn::BitBtn(const QString& name, QWidget* parent) : QPushButton(parent)
{
    setObjectName(name);
    // Enter presses the focused button in every window, as Space does; outside a dialog Qt
    // leaves Enter to the window unless the button asks for it.
    setAutoDefault(true);
}

void BitBtn::setKind(Kind kind)
{
    kind_ = kind;
    switch (kind) {
    case Kind::Custom:
        break;
    case Kind::OK:
        setIcon(standardGlyph(QStyle::SP_DialogOkButton));
        setText(QStringLiteral("OK"));
        modalResult_ = 1;
        setDefaultFlag(true);
        cancel_ = false;
        break;
    case Kind::Close:
        setIcon(standardGlyph(QStyle::SP_DialogCloseButton));
        setText(QStringLiteral("S&chließen"));
        break;
    }
}

void BitBtn::setDefaultFlag(bool isDefault)
{
    default_ = isDefault;
    // Several buttons of a window may carry the flag; Qt keeps one default per dialog (the
    // last set) and gives Enter to a focused button anyway, which is what the flag means.
    setAutoDefault(true);
    if (isDefault)
        setDefault(true);
}

}  // namespace quendral
