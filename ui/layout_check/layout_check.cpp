#include "layout_check.h"

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QAbstractSpinBox>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QStyleOptionButton>
#include <QTabBar>
#include <QToolButton>
#include <QWidget>

#include "keypad_view.h"

namespace {

constexpr QChar kEllipsis(0x2026);

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
           qobject_cast<const QAbstractSpinBox*>(&widget) || qobject_cast<const QAbstractButton*>(&widget) ||
           qobject_cast<const KeypadView*>(&widget);
}

// Content that scrolls inside a scroll area may reach past the part shown.
bool scrolls(const QWidget& widget)
{
    const QWidget* parent = widget.parentWidget();
    const QWidget* area = parent ? parent->parentWidget() : nullptr;
    const auto* scrollArea = qobject_cast<const QAbstractScrollArea*>(area);
    return scrollArea && scrollArea->viewport() == parent;
}

// The part of a widget a person can see, in the window's coordinates: every ancestor clips it.
QRect shownRect(const QWidget& widget, const QWidget& window)
{
    QRect shown(widget.mapTo(&window, QPoint()), widget.size());
    for (const QWidget* ancestor = widget.parentWidget(); ancestor && ancestor != &window;
         ancestor = ancestor->parentWidget())
        shown &= QRect(ancestor->mapTo(&window, QPoint()), ancestor->size());
    return shown & window.rect();
}

// Mnemonic marks take no room.
QString caption(QString text)
{
    return text.remove(QRegularExpression(QStringLiteral("&(?!&)")));
}

bool elidedWithoutTooltip(const QWidget& widget, const QString& text)
{
    return text.contains(kEllipsis) && widget.toolTip().isEmpty();
}

// One-line labels cut off, and wrapped labels shorter than their lines; rich text draws
// itself and is left alone.
QStringList labelFaults(const QLabel& label)
{
    if (label.text().isEmpty() || label.textFormat() == Qt::RichText ||
        (label.textFormat() == Qt::AutoText && Qt::mightBeRichText(label.text())))
        return {};
    const QString cut = QStringLiteral("text cut off: %1 \"%2\"").arg(describe(label), label.text());
    if (elidedWithoutTooltip(label, label.text()))
        return {QStringLiteral("elided without a tooltip: %1 \"%2\"").arg(describe(label), label.text())};
    const QRect room = label.contentsRect().adjusted(label.margin(), label.margin(), -label.margin(), -label.margin());
    if (label.wordWrap())
        return label.heightForWidth(label.width()) > label.height() + 2 ? QStringList{cut} : QStringList{};
    const QFontMetrics metrics(label.font());
    const QStringList lines = label.text().split(QLatin1Char('\n'));
    if (metrics.height() * lines.size() > room.height() + 2)
        return {cut};
    for (const QString& line : lines)
        if (metrics.horizontalAdvance(line) > room.width() + 1)
            return {cut};
    return {};
}

// The room a button's style leaves for its caption.
int captionRoom(const QAbstractButton& button)
{
    QStyleOptionButton option;
    option.initFrom(&button);
    option.text = button.text();
    option.icon = button.icon();
    option.iconSize = button.iconSize();
    QStyle::SubElement contents = QStyle::SE_PushButtonContents;
    if (qobject_cast<const QCheckBox*>(&button))
        contents = QStyle::SE_CheckBoxContents;
    else if (qobject_cast<const QRadioButton*>(&button))
        contents = QStyle::SE_RadioButtonContents;
    else if (qobject_cast<const QToolButton*>(&button))
        return button.width() - 4;
    int room = button.style()->subElementRect(contents, &option, &button).width();
    if (!button.icon().isNull())
        room -= button.iconSize().width() + 4;
    return room;
}

QStringList buttonFaults(const QAbstractButton& button)
{
    const QString text = caption(button.text());
    if (text.isEmpty())
        return {};
    if (const auto* tool = qobject_cast<const QToolButton*>(&button);
        tool && tool->toolButtonStyle() == Qt::ToolButtonIconOnly)
        return {};
    if (elidedWithoutTooltip(button, text))
        return {QStringLiteral("elided without a tooltip: %1 \"%2\"").arg(describe(button), button.text())};
    const QFontMetrics metrics(button.font());
    int widest = 0;
    for (const QString& line : text.split(QLatin1Char('\n')))
        widest = std::max(widest, metrics.horizontalAdvance(line));
    if (widest > captionRoom(button) + 2)
        return {QStringLiteral("caption cut off: %1 \"%2\"").arg(describe(button), button.text())};
    return {};
}

// QTabBar elides captions that do not fit; without a tooltip the rest is lost.
QStringList tabFaults(const QTabBar& tabs)
{
    QStringList faults;
    const QFontMetrics metrics(tabs.font());
    for (int i = 0; i < tabs.count(); ++i)
        if (metrics.horizontalAdvance(caption(tabs.tabText(i))) > tabs.tabRect(i).width() - 4 &&
            tabs.tabToolTip(i).isEmpty())
            faults << QStringLiteral("tab caption cut off: %1 \"%2\"").arg(describe(tabs), tabs.tabText(i));
    return faults;
}

// Rows of a list that elides: a row wider than the list shows part of its text, unless the
// list scrolls sideways or the row's tooltip says it all.
QStringList listFaults(const QListView& list)
{
    if (list.wordWrap() || list.textElideMode() == Qt::ElideNone || list.model() == nullptr)
        return {};
    if (list.horizontalScrollBarPolicy() != Qt::ScrollBarAlwaysOff && list.horizontalScrollBar()->isVisible())
        return {};
    QStringList faults;
    const int room = list.viewport()->width();
    for (int row = 0; row < list.model()->rowCount(list.rootIndex()); ++row) {
        const QModelIndex index = list.model()->index(row, list.modelColumn(), list.rootIndex());
        if (list.isRowHidden(row) || !list.model()->data(index, Qt::ToolTipRole).toString().isEmpty())
            continue;
        if (list.sizeHintForIndex(index).width() > room + 1)
            faults << QStringLiteral("row cut off: %1 \"%2\"").arg(describe(list), index.data().toString());
    }
    return faults;
}

// A field lower than a line of its text clips the digits typed into it.
QStringList fieldFaults(const QLineEdit& field)
{
    if (field.height() < QFontMetrics(field.font()).height())
        return {QStringLiteral("field lower than its text: %1").arg(describe(field))};
    return {};
}

QStringList textFaults(const QWidget& widget)
{
    if (const auto* field = qobject_cast<const QLineEdit*>(&widget))
        return fieldFaults(*field);
    if (const auto* label = qobject_cast<const QLabel*>(&widget))
        return labelFaults(*label);
    if (const auto* button = qobject_cast<const QAbstractButton*>(&widget))
        return buttonFaults(*button);
    if (const auto* tabs = qobject_cast<const QTabBar*>(&widget))
        return tabFaults(*tabs);
    if (const auto* list = qobject_cast<const QListView*>(&widget))
        return listFaults(*list);
    return {};
}

}  // namespace

QStringList layoutFaults(const QWidget& window, QSize screen)
{
    QStringList faults;
    if (window.width() > screen.width() || window.height() > screen.height())
        faults << QStringLiteral("larger than the screen: %1 is %2x%3 on %4x%5")
                      .arg(describe(window))
                      .arg(window.width())
                      .arg(window.height())
                      .arg(screen.width())
                      .arg(screen.height());
    struct Shown {
        const QWidget* widget;
        QRect rect;
    };
    std::vector<Shown> inputs;  // and labels
    for (const QWidget* widget : window.findChildren<const QWidget*>()) {
        if (!widget->isVisibleTo(&window) || widget->isWindow() || widget->size().isEmpty())
            continue;
        const QWidget* parent = widget->parentWidget();
        if (parent && !scrolls(*widget) && !parent->rect().contains(widget->geometry()))
            faults << QStringLiteral("outside its parent: %1 in %2").arg(describe(*widget), describe(*parent));
        faults << textFaults(*widget);
        const QRect shown = shownRect(*widget, window);
        if (showsText(*widget) && !shown.isEmpty())
            inputs.push_back({widget, shown});
    }
    for (std::size_t i = 0; i < inputs.size(); ++i) {
        for (std::size_t j = i + 1; j < inputs.size(); ++j) {
            if (inputs[i].widget->isAncestorOf(inputs[j].widget) || inputs[j].widget->isAncestorOf(inputs[i].widget))
                continue;
            if (inputs[i].rect.intersects(inputs[j].rect))
                faults << QStringLiteral("overlap: %1 and %2")
                              .arg(describe(*inputs[i].widget), describe(*inputs[j].widget));
        }
    }
    return faults;
}
