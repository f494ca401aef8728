#include "window_placement.h"

#include <QScreen>
#include <QTimer>
#include <QWidget>

QRect fittedWindowGeometry(QSize wanted, QRect available, QMargins frame)
{
    const QRect room = available.marginsRemoved(frame);
    QSize size = wanted;
    if (size.width() > room.width() || size.height() > room.height())
        size = wanted.scaled(room.size(), Qt::KeepAspectRatio);
    const QPoint offset((room.width() - size.width()) / 2, (room.height() - size.height()) / 2);
    return QRect(room.topLeft() + offset, size);
}

void placeOnScreen(QWidget& window, QSize wanted)
{
    const QScreen* screen = window.screen();
    if (screen == nullptr)
        return;
    window.setGeometry(fittedWindowGeometry(wanted, screen->availableGeometry()));
    // The decorations are known only once the window is on the screen.
    QTimer::singleShot(0, &window, [&window, wanted] {
        const QScreen* shownOn = window.screen();
        const QRect available = shownOn->availableGeometry();
        if (available.contains(window.frameGeometry()))
            return;
        const QRect inner = window.geometry();
        const QRect outer = window.frameGeometry();
        const QMargins frame(inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
                             outer.bottom() - inner.bottom());
        window.setGeometry(fittedWindowGeometry(wanted, available, frame));
    });
}
