#pragma once

#include <QRect>

#include <functional>
#include <vector>

class QKeyEvent;
class QWidget;

// Where a panel lies in the calculator window.
enum class PanelArea {
    // In the keypads' place, under the display and the category bar.
    Keypads,
    // In the display's place too: the category bar moves to the top.
    DisplayAndKeypads,
    // Over the whole window: the panel leaves the category bar's band free itself.
    Window,
};

// A panel in the keypads' place: a category's own tool window, or a window that a key of the
// category opens over its keypads (MAT, DATA, TVM, Loan, Mortg.).
struct CategoryPanel {
    struct Categories {
        int first = 0;
        int last = 0;
    };
    Categories categories;
    QWidget* widget = nullptr;
    PanelArea area = PanelArea::Keypads;
    // Shown only once its key opened it, until it is closed or its category is left.
    bool opensOnKey = false;
    // The keys go to the panel before the display; false when it left the key unused.
    std::function<bool(QKeyEvent*)> takeKey = {};
    // Tab moves between the panel's own fields rather than the window's widgets.
    std::function<void()> takeTab = {};
    // Called at each refresh, the one while the panel is shown (the output format or the date
    // order may have changed), the other while it is hidden.
    std::function<void(int category)> whileShown = {};
    std::function<void()> whileHidden = {};

    bool belongsTo(int category) const { return category >= categories.first && category <= categories.last; }
};

// Which panel each category shows, whether it covers the display and whether it takes the keys:
// one row per panel, so that a new category is one more row.
class CategoryPanels {
public:
    // A panel shows once show() finds it belongs to the category.
    void add(CategoryPanel panel);

    // Shows the panels of the category and hides the others; an opened panel of another
    // category is closed.
    void show(int category);
    // Whether the category has a tool window of its own in the keypads' place.
    bool hasOwnPanel(int category) const;
    // Whether a panel shown in the category covers the display.
    bool coverDisplay(int category) const;
    // Hands a key or Tab to the category's panel; false when it has none that took it. Tab
    // also comes while show() hides the panel that had the focus: only a panel already shown
    // takes it then.
    bool takeKey(int category, QKeyEvent* event) const;
    bool takeTab(int category) const;

    // Opens a panel that its key opens; false when the panel is none of the category's.
    bool open(QWidget* panel, int category);
    void closeOpened() { opened_ = nullptr; }
    bool anyOpened() const { return opened_ != nullptr; }

    // Gives each panel the rectangle of its area.
    void place(const QRect& keypads, const QRect& displayAndKeypads, const QRect& window) const;

private:
    bool shows(const CategoryPanel& panel, int category) const;

    std::vector<CategoryPanel> panels_;
    QWidget* opened_ = nullptr;
};
