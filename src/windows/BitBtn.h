#pragma once

// A push button with the flags of the design's bitmap buttons: a kind that brings its
// glyph and caption, a modal result, and the Default and Cancel flags.

#include <QPushButton>

namespace quendral {

class BitBtn : public QPushButton {
    Q_OBJECT
public:
    enum class Kind { Custom, OK, Close };

    explicit BitBtn(const QString& name, QWidget* parent);

    Kind kind() const { return kind_; }
    // OK: tick glyph, caption "OK", modal result 1, Default set and Cancel cleared.
    // Close: close glyph and caption "S&chließen".
    void setKind(Kind kind);

    int modalResult() const { return modalResult_; }
    void setModalResult(int result) { modalResult_ = result; }
    bool isCancel() const { return cancel_; }
    void setCancel(bool cancel) { cancel_ = cancel; }
    bool isDefaultFlag() const { return default_; }
    void setDefaultFlag(bool isDefault);

private:
    Kind kind_ = Kind::Custom;
    int modalResult_ = 0;
    bool cancel_ = false;
    bool default_ = false;
};

}  // namespace quendral
