#pragma once

// Notes when windows come up: the first activation and the first painted frame after each
// showing, for every window of the application while the watch exists.

#include <QObject>

#include <unordered_set>

class QWidget;

namespace quendral::bench {

class WindowWatch : public QObject {
public:
    WindowWatch();
    ~WindowWatch() override;

    bool activated(const QWidget* window) const;
    // Some widget of the window has been painted: the window's first paint pass has run.
    // The pass paints every widget that needs it and flushes before anyone outside it can
    // ask, so the frame is complete by then.
    bool painted(const QWidget* window) const;

    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::unordered_set<const QObject*> activated_;
    std::unordered_set<const QObject*> painted_;
};

}  // namespace quendral::bench
