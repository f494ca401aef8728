#include "layout_check.h"

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QWidget>

namespace {

QString describe(const QWidget& widget)
{
    const QString name = widget.objectName().isEmpty() ? QStringLiteral("(unnamed)") : widget.objectName();
    return QStringLiteral("%1 %2").arg(QString::fromLatin1(widget.metaObject()->className()), name);
}

// Widgets that show text or take input: two of them on top of each other hide one another.
bool showsText(const QWidget& widget)
{
    if (const auto* label = qobject_cast<const QLabel*>(&widget))
        return !label->text().isEmpty();
    return qobject_cast<const QLineEdit*>(&widget) || qobject_cast<const QComboBox*>(&widget) ||
           qobject_cast<const QAbstractSpinBox*>(&widget) || qobject_cast<const QAbstractButton*>(&widget);
}

// Labels that elide or wrap on purpose are not faults; one-line labels cut off are.
bool labelTextFits(const QLabel& label)
{
    if (label.wordWrap() || label.text().isEmpty() || label.textFormat() == Qt::RichText)
        return true;
    const QFontMetrics metrics(label.font());
    const int lines = static_cast<int>(label.text().count(QLatin1Char('\n'))) + 1;
    if (metrics.height() * lines > label.height() + 2)
        return false;
    const int margins = label.contentsMargins().left() + label.contentsMargins().right() + 2 * label.margin();
    for (const QString& line : label.text().split(QLatin1Char('\n')))
        if (metrics.horizontalAdvance(line) > label.width() - margins + 1)
            return false;
    return true;
}

// A tab or push button whose caption is elided or clipped.
QStringList captionFaults(const QWidget& widget)
{
    QStringList faults;
    if (const auto* tabs = qobject_cast<const QTabBar*>(&widget)) {
        const QFontMetrics metrics(tabs->font());
        for (int i = 0; i < tabs->count(); ++i)
            if (metrics.horizontalAdvance(tabs->tabText(i)) > tabs->tabRect(i).width() - 4)
                faults << QStringLiteral("tab caption cut off: %1 \"%2\"").arg(describe(widget), tabs->tabText(i));
    } else if (const auto* button = qobject_cast<const QPushButton*>(&widget)) {
        const QFontMetrics metrics(button->font());
        if (!button->text().isEmpty() && metrics.horizontalAdvance(button->text()) > button->width() - 2)
            faults << QStringLiteral("button caption cut off: %1 \"%2\"").arg(describe(widget), button->text());
    }
    return faults;
}

}  // namespace

QStringList layoutFaults(const QWidget& window)
{
    QStringList faults;
    QList<const QWidget*> inputs;  // and labels
    for (const QWidget* widget : window.findChildren<const QWidget*>()) {
        if (!widget->isVisibleTo(&window) || widget->isWindow())
            continue;
        const QWidget* parent = widget->parentWidget();
        if (parent && !parent->rect().contains(widget->geometry()))
            faults << QStringLiteral("outside its parent: %1 in %2").arg(describe(*widget), describe(*parent));
        if (const auto* label = qobject_cast<const QLabel*>(widget); label && !labelTextFits(*label))
            faults << QStringLiteral("text cut off: %1 \"%2\"").arg(describe(*widget), label->text());
        faults << captionFaults(*widget);
        if (showsText(*widget))
            inputs << widget;
    }
    for (int i = 0; i < inputs.size(); ++i) {
        const QRect a(inputs[i]->mapTo(&window, QPoint()), inputs[i]->size());
        for (int j = i + 1; j < inputs.size(); ++j) {
            if (inputs[i]->isAncestorOf(inputs[j]) || inputs[j]->isAncestorOf(inputs[i]))
                continue;
            const QRect b(inputs[j]->mapTo(&window, QPoint()), inputs[j]->size());
            if (a.intersects(b))
                faults << QStringLiteral("overlap: %1 and %2").arg(describe(*inputs[i]), describe(*inputs[j]));
        }
    }
    return faults;
}
