#include "category_panels.h"

#include <QWidget>

#include <algorithm>

void CategoryPanels::add(CategoryPanel panel)
{
    panel.widget->hide();
    panels_.push_back(std::move(panel));
}

void CategoryPanels::show(int category)
{
    const bool openedStays = std::any_of(panels_.begin(), panels_.end(), [this, category](const CategoryPanel& panel) {
        return panel.widget == opened_ && panel.belongsTo(category);
    });
    if (!openedStays)
        opened_ = nullptr;
    for (const CategoryPanel& panel : panels_) {
        const bool shown = shows(panel, category);
        panel.widget->setVisible(shown);
        if (shown && panel.whileShown)
            panel.whileShown(category);
        else if (!shown && panel.whileHidden)
            panel.whileHidden();
    }
}

bool CategoryPanels::hasOwnPanel(int category) const
{
    return std::any_of(panels_.begin(), panels_.end(), [category](const CategoryPanel& panel) {
        return !panel.opensOnKey && panel.belongsTo(category);
    });
}

bool CategoryPanels::coverDisplay(int category) const
{
    return std::any_of(panels_.begin(), panels_.end(), [this, category](const CategoryPanel& panel) {
        return panel.area == PanelArea::DisplayAndKeypads && shows(panel, category);
    });
}

bool CategoryPanels::takeKey(int category, QKeyEvent* event) const
{
    return std::any_of(panels_.begin(), panels_.end(), [this, category, event](const CategoryPanel& panel) {
        return panel.takeKey && shows(panel, category) && panel.takeKey(event);
    });
}

bool CategoryPanels::takeTab(int category) const
{
    for (const CategoryPanel& panel : panels_) {
        if (panel.takeTab && shows(panel, category) && !panel.widget->isHidden()) {
            panel.takeTab();
            return true;
        }
    }
    return false;
}

bool CategoryPanels::open(QWidget* panel, int category)
{
    const bool opens = std::any_of(panels_.begin(), panels_.end(), [panel, category](const CategoryPanel& row) {
        return row.widget == panel && row.opensOnKey && row.belongsTo(category);
    });
    if (opens)
        opened_ = panel;
    return opens;
}

void CategoryPanels::place(const QRect& keypads, const QRect& displayAndKeypads, const QRect& window) const
{
    for (const CategoryPanel& panel : panels_) {
        switch (panel.area) {
        case PanelArea::Keypads: panel.widget->setGeometry(keypads); break;
        case PanelArea::DisplayAndKeypads: panel.widget->setGeometry(displayAndKeypads); break;
        case PanelArea::Window: panel.widget->setGeometry(window); break;
        }
    }
}

bool CategoryPanels::shows(const CategoryPanel& panel, int category) const
{
    return panel.belongsTo(category) && (!panel.opensOnKey || panel.widget == opened_);
}
