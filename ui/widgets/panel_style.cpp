#include "panel_style.h"

#include <QApplication>
#include <QColor>
#include <QEvent>
#include <QPointer>
#include <QWidget>

#include <algorithm>
#include <utility>
#include <vector>

namespace {

constexpr const char* kSheetProperty = "themedSheet";

// Gives a widget's sheet with roles its colours again, only when they differ: setting a sheet
// polishes the widget, which must not start another round.
void restyle(QWidget* widget)
{
    const QString themed = themedStyleSheet(widget->property(kSheetProperty).toString());
    if (widget->styleSheet() != themed)
        widget->setStyleSheet(themed);
}

// Watches the application: when its palette changes, every widget styled with roles is
// restyled.
class PaletteFollower : public QObject {
public:
    explicit PaletteFollower(QCoreApplication* application) : QObject(application)
    {
        application->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == QCoreApplication::instance() && event->type() == QEvent::ApplicationPaletteChange) {
            for (QWidget* widget : QApplication::allWidgets()) {
                if (widget->property(kSheetProperty).isValid())
                    restyle(widget);
            }
        }
        return false;
    }
};

void followPalette()
{
    static QPointer<PaletteFollower> follower;
    if (follower.isNull())
        follower = new PaletteFollower(QCoreApplication::instance());
}

QColor mixed(const QColor& a, const QColor& b, double towardsB)
{
    const auto mix = [towardsB](int x, int y) { return static_cast<int>(x + (y - x) * towardsB + 0.5); };
    return QColor(mix(a.red(), b.red()), mix(a.green(), b.green()), mix(a.blue(), b.blue()));
}

}  // namespace

QString themedStyleSheet(const QString& sheet, const QPalette& palette)
{
    const QColor window = palette.color(QPalette::Active, QPalette::Window);
    const QColor field = palette.color(QPalette::Active, QPalette::Base);
    const QColor text = palette.color(QPalette::Active, QPalette::Text);
    const QColor windowText = palette.color(QPalette::Active, QPalette::WindowText);
    const QColor accent = palette.color(QPalette::Active, QPalette::Highlight);
    const QColor line = palette.color(QPalette::Active, QPalette::Light);
    // Longer names first, so that @accent does not take the start of @accentText.
    std::vector<std::pair<QString, QColor>> roles = {
        {QStringLiteral("@window"), window},
        {QStringLiteral("@sunken"), mixed(window, QColor(Qt::black), 0.15)},
        {QStringLiteral("@field"), field},
        {QStringLiteral("@fieldFocus"), mixed(field, line, 0.35)},
        {QStringLiteral("@button"), palette.color(QPalette::Active, QPalette::Button)},
        {QStringLiteral("@line"), line},
        {QStringLiteral("@grid"), mixed(field, line, 0.5)},
        {QStringLiteral("@alternate"), mixed(field, line, 0.2)},
        // Labels a shade quieter than text, still far above 4.5:1 on the ground.
        {QStringLiteral("@label"), mixed(windowText, window, 0.15)},
        {QStringLiteral("@text"), text},
        {QStringLiteral("@quiet"), palette.color(QPalette::Active, QPalette::PlaceholderText)},
        {QStringLiteral("@disabled"), palette.color(QPalette::Disabled, QPalette::Text)},
        {QStringLiteral("@accent"), accent},
        {QStringLiteral("@accentText"), palette.color(QPalette::Active, QPalette::HighlightedText)},
        {QStringLiteral("@accentPressed"), mixed(accent, QColor(Qt::black), 0.2)},
        {QStringLiteral("@accentShade"), mixed(window, accent, 0.15)},
        {QStringLiteral("@note"), mixed(windowText, accent, 0.3)},
    };
    std::sort(roles.begin(), roles.end(), [](const auto& a, const auto& b) { return a.first.size() > b.first.size(); });
    QString themed = sheet;
    for (const auto& [name, colour] : roles)
        themed.replace(name, colour.name());
    return themed;
}

QString themedStyleSheet(const QString& sheet)
{
    return themedStyleSheet(sheet, QApplication::palette());
}

void setThemedStyleSheet(QWidget* widget, const QString& sheet)
{
    widget->setProperty(kSheetProperty, sheet);
    followPalette();
    restyle(widget);
}
