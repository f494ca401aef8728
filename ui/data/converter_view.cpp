#include "converter_view.h"

#include <QApplication>
#include <QBoxLayout>
#include <QClipboard>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QStyle>

#include <algorithm>

#include "ascii.h"
#include "message_box.h"
#include "rate_list_view.h"
#include "rate_update.h"
#include "keypads.h"
#include "preferences.h"
#include "clipboard_number.h"
#include "ui_text.h"
#include "panel_style.h"

namespace {

using Model = Converter;

// The on-panel keypad, five rows of five places: the label, the character code each key sends
// and how many places the key spans.
struct ConverterKey {
    const char16_t* label;
    char16_t code;
    int span = 1;
};
constexpr char16_t kSwapField = ConverterView::kSwapField;
constexpr char16_t kSwapUnits = ConverterView::kSwapUnits;
constexpr char16_t kCopyResult = ConverterView::kCopyResult;
constexpr ConverterKey kConverterKeys[] = {
    {u"7", u'7'},
    {u"8", u'8'},
    {u"9", u'9'},
    {u"/", u'/'},
    {u"\u2190", Model::kBackspace},
    {u"4", u'4'},
    {u"5", u'5'},
    {u"6", u'6'},
    {u"*", u'*'},
    {u"M", u'M'},
    {u"1", u'1'},
    {u"2", u'2'},
    {u"3", u'3'},
    {u"-", u'-'},
    {u"R", u'R'},
    {u"0", u'0'},
    {u".", u'.'},
    {u"\u00B1", Model::kNegate},
    {u"+", u'+'},
    {u"=", u'='},
    {u"\u21C5", kSwapUnits, 2},
    {u"Copy", kCopyResult, 3},
};
constexpr int kKeyColumns = 5;

// The tip panel's colours, so that the tools read as one window.
QString panelStyleSheet(int px)
{
    return QStringLiteral(
               "ConverterView { background: @window; }"
               "QLabel { color: @label; font-size: %1px; }"
               "QLabel[field=\"true\"] { background: @field; color: @text; border: 1px solid @line;"
               " border-radius: %2px; padding: %2px %3px; font-size: %1px; }"
               "QLabel[field=\"true\"][active=\"true\"] { border: 2px solid @accent; background: @fieldFocus; }"
               "QLabel#top { background: @sunken; color: @accent; font-weight: bold; padding: %2px %3px; }"
               "QPushButton { background: @button; color: @text; border: 1px solid @line;"
               " border-radius: %2px; padding: %2px; font-size: %1px; }"
               "QPushButton:hover { border-color: @accent; }"
               "QPushButton:pressed { background: @accent; color: @accentText; }"
               "QPushButton[unit=\"true\"] { color: @accent; }"
               "QWidget#converterKeys QPushButton { padding: 0px; }"
               "QListWidget { background: @field; color: @text; border: 2px solid @accent; font-size: %1px; }"
               "QListWidget::item { padding: %2px 0px; }"
               "QListWidget::item:selected { background: @accent; color: @accentText; }"
               "QLabel#listSearch { background: @sunken; color: @accent; border: 2px solid @accent;"
               " border-bottom: none; padding: %2px %3px; }")
        .arg(px)
        .arg(std::max(1, px / 6))
        .arg(std::max(2, px / 3));
}

Model::Page pageOf(int category)
{
    if (category == CategoryCode::kCurrencyConverter)
        return Model::Page::Currency;
    if (category == CategoryCode::kConstants)
        return Model::Page::Constants;
    return Model::Page::Units;
}

void setActive(QLabel* label, bool active)
{
    if (label->property("active").toBool() == active)
        return;
    label->setProperty("active", active);
    label->style()->unpolish(label);
    label->style()->polish(label);
}

}  // namespace

ConverterView::ConverterView(Preferences& preferences, const std::filesystem::path& dataFolder,
                             const std::filesystem::path& stateFolder, QWidget* parent)
    : QWidget(parent), preferences_(preferences), model_(dataFolder, preferences.outputFormat)
{
    setAttribute(Qt::WA_StyledBackground);
    setObjectName(QStringLiteral("converterWindow"));
    model_.setStateFolder(stateFolder);
    model_.loadState();

    const auto makeField = [this](const QString& name) {
        auto* label = new QLabel(this);
        label->setObjectName(name);
        label->setProperty("field", true);
        label->setTextFormat(Qt::PlainText);
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        label->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
        label->installEventFilter(this);
        return label;
    };
    const auto makeUnitButton = [this](const QString& name) {
        auto* button = new QPushButton(this);
        button->setObjectName(name);
        button->setProperty("unit", true);
        button->setFocusPolicy(Qt::NoFocus);
        button->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
        return button;
    };

    top_ = new QLabel(this);
    top_->setObjectName(QStringLiteral("top"));
    top_->setTextFormat(Qt::PlainText);
    top_->setAlignment(Qt::AlignCenter);
    top_->setCursor(Qt::PointingHandCursor);
    top_->installEventFilter(this);
    // The rate list's tap zone, beside the date of the rates.
    ratesButton_ = new QPushButton(tr("Rates"), this);
    ratesButton_->setObjectName(QStringLiteral("editRates"));
    ratesButton_->setFocusPolicy(Qt::NoFocus);
    ratesButton_->setToolTip(tr("Show and edit the rates"));
    connect(ratesButton_, &QPushButton::clicked, this, &ConverterView::openRateList);
    upper_ = makeField(QStringLiteral("upperValue"));
    lower_ = makeField(QStringLiteral("lowerValue"));
    upperUnit_ = makeUnitButton(QStringLiteral("upperUnit"));
    lowerUnit_ = makeUnitButton(QStringLiteral("lowerUnit"));
    connect(upperUnit_, &QPushButton::clicked, this, [this] { openList(ListKind::Upper); });
    connect(lowerUnit_, &QPushButton::clicked, this, [this] { openList(ListKind::Lower); });

    constantName_ = makeField(QStringLiteral("constantName"));
    constantName_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    constantName_->setWordWrap(true);
    constantName_->setCursor(Qt::PointingHandCursor);
    constantValue_ = makeField(QStringLiteral("constantValue"));
    constantValue_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    copyButton_ = new QPushButton(tr("Copy value"), this);
    copyButton_->setFocusPolicy(Qt::NoFocus);
    // The value goes on as written, through the clipboard, into whatever line the user wants.
    connect(copyButton_, &QPushButton::clicked, this, &ConverterView::copyResult);

    keys_ = new QWidget(this);
    keys_->setObjectName(QStringLiteral("converterKeys"));
    keysGrid_ = new QGridLayout(keys_);
    keysGrid_->setContentsMargins(0, 0, 0, 0);
    int place = 0;
    for (const ConverterKey& key : kConverterKeys) {
        auto* button = new QPushButton(toQString(key.label), keys_);
        button->setFocusPolicy(Qt::NoFocus);
        button->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
        const char16_t code = key.code;
        connect(button, &QPushButton::clicked, this, [this, code] { pressKey(code); });
        if (code == kSwapUnits)
            button->setToolTip(tr("Swap the units"));
        else if (code == Model::kNegate)
            button->setToolTip(tr("Change the sign (F9)"));
        else if (code == kCopyResult)
            button->setToolTip(tr("Copy the converted value (Ctrl+C)"));
        keysGrid_->addWidget(button, place / kKeyColumns, place % kKeyColumns, 1, key.span);
        place += key.span;
    }

    auto* upperRow = new QHBoxLayout;
    upperRow->addWidget(upper_, 3);
    upperRow->addWidget(upperUnit_, 2);
    auto* lowerRow = new QHBoxLayout;
    lowerRow->addWidget(lower_, 3);
    lowerRow->addWidget(lowerUnit_, 2);

    auto* topRow = new QHBoxLayout;
    topRow->addWidget(top_, 1);
    topRow->addWidget(ratesButton_);

    rows_ = new QVBoxLayout(this);
    rows_->addLayout(topRow);
    rows_->addLayout(upperRow);
    rows_->addLayout(lowerRow);
    rows_->addWidget(constantName_);
    rows_->addWidget(constantValue_);
    rows_->addWidget(copyButton_);
    rows_->addWidget(keys_, 1);

    // The pick lists cover the panel until a line is chosen; long lines wrap rather than being
    // cut. Above the list, the text typed so far to search it.
    list_ = new QListWidget(this);
    list_->setObjectName(QStringLiteral("converterList"));
    list_->setFocusPolicy(Qt::NoFocus);
    list_->setWordWrap(true);
    list_->setTextElideMode(Qt::ElideNone);
    list_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list_->setResizeMode(QListView::Adjust);
    list_->setUniformItemSizes(false);
    list_->hide();
    listSearchLabel_ = new QLabel(this);
    listSearchLabel_->setObjectName(QStringLiteral("listSearch"));
    listSearchLabel_->setTextFormat(Qt::PlainText);
    listSearchLabel_->hide();
    connect(list_, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) { listPicked(list_->row(item)); });

    // While a list is open every key is the list's, before the window gives letters such as
    // P and Q a meaning of their own.
    if (parent)
        parent->installEventFilter(this);

    applyMetrics();
}

ConverterView::~ConverterView()
{
    model_.saveState();
}

void ConverterView::showCategory(int category)
{
    // The window refreshes after every key: the page's file is read only when it changes.
    if (category != shownCategory_) {
        shownCategory_ = category;
        model_.showPage(pageOf(category));
        closeList();
    }
    refresh();
    tellDataProblem();
}

void ConverterView::tellDataProblem()
{
    const std::u16string problem = model_.takeDataProblem();
    if (!problem.empty())
        showMessageBox(QMessageBox::Warning, QStringLiteral("Corvan"), toQString(problem), this);
}

void ConverterView::refresh()
{
    model_.setOutputFormat(preferences_.outputFormat);
    const bool constants = model_.page() == Model::Page::Constants;
    ratesButton_->setVisible(model_.page() == Model::Page::Currency);
    for (QWidget* widget : std::initializer_list<QWidget*>{upper_, lower_, upperUnit_, lowerUnit_, keys_})
        widget->setVisible(!constants);
    for (QWidget* widget : std::initializer_list<QWidget*>{constantName_, constantValue_, copyButton_})
        widget->setVisible(constants);
    if (constants) {
        const auto& fields = model_.constantFields();
        top_->setText(displayString(fields[Model::kConstantCategoryField].value));
        constantName_->setText(displayString(fields[Model::kConstantNameField].value));
        constantValue_->setText(displayString(fields[Model::kConstantValueField].value));
        top_->setToolTip(tr("Choose a category"));
        return;
    }
    const Model::ConvertPage& page = model_.convertPage();
    const bool currency = model_.page() == Model::Page::Currency;
    const bool updating = currency && page.top.value == ascii::widen(currency::kUpdatingText);
    top_->setText(updating   ? tr("Updating the rates ...")
                  : currency ? tr("Rates of %1").arg(displayString(page.top.value))
                             : displayString(page.top.value));
    top_->setToolTip(currency ? tr("Update the rates") : tr("Choose a category"));
    upper_->setText(displayString(page.upper.value));
    lower_->setText(displayString(page.lower.value));
    upperUnit_->setText(displayString(page.upper.caption));
    lowerUnit_->setText(displayString(page.lower.caption));
    setActive(upper_, page.active == Model::ValueField::Upper);
    setActive(lower_, page.active == Model::ValueField::Lower);
}

void ConverterView::pressKey(char16_t code)
{
    if (!list_->isHidden())
        return;
    if (code == kCopyResult) {
        copyResult();
        return;
    }
    if (code == kSwapField)
        model_.setActiveField(Model::otherField(model_.convertPage().active));
    else if (code == kSwapUnits)
        model_.swapUnits();
    else
        model_.handleKey(code);
    refresh();
}

void ConverterView::copyResult()
{
    // A constant's value is written as its data file has it ("6.62607015e-34"): the clipboard
    // gets the plain form that pastes back as the same number.
    const std::u16string text = model_.page() == Model::Page::Constants
                                    ? clipboardNumberText(model_.constantFields()[Model::kConstantValueField].value)
                                    : model_.copyText();
    // displayString: the display's private comma becomes ",".
    if (!text.empty())
        QApplication::clipboard()->setText(displayString(text));
}

bool ConverterView::takeKey(QKeyEvent* event)
{
    if (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))
        return false;
    if (!list_->isHidden())
        return takeListKey(event);
    if (model_.page() == Model::Page::Constants)
        return false;
    char16_t code = 0;
    switch (event->key()) {
    case Qt::Key_F9: code = Model::kNegate; break;
    case Qt::Key_Backspace: code = Model::kBackspace; break;
    case Qt::Key_Return:
    case Qt::Key_Enter: code = u'='; break;
    case Qt::Key_Tab:
    case Qt::Key_Up:
    case Qt::Key_Down: code = kSwapField; break;
    default:
        if (event->text().size() != 1)
            return false;
        // "M" stays the memory key; "R" is a digit letter on the keyboard.
        code = event->text().at(0).unicode();
        if (code != u'M')
            code = Model::mapKey(code);
    }
    if (code != kSwapField && !ConverterKeyEntry::takes(code))
        return false;
    pressKey(code);
    return true;
}

void ConverterView::openList(ListKind kind)
{
    std::vector<std::u16string> lines;
    int current = -1;
    switch (kind) {
    case ListKind::Category:
        lines = model_.categories();
        current = model_.currentCategory();
        break;
    case ListKind::Upper:
    case ListKind::Lower:
        lines = model_.unitChoices();
        current = kind == ListKind::Upper ? model_.convertPage().upperIndex : model_.convertPage().lowerIndex;
        break;
    case ListKind::Constant:
        lines = model_.unitChoices();
        current = model_.currentConstant();
        break;
    case ListKind::None: return;
    }
    if (lines.empty())
        return;
    list_->clear();
    for (const std::u16string& line : lines)
        list_->addItem(displayString(line));
    listKind_ = kind;
    listSearch_.clear();
    filterList();
    placeList();
    if (current >= 0 && current < list_->count())
        list_->setCurrentRow(current);
    list_->scrollToItem(list_->currentItem());
    list_->show();
    list_->raise();
    listSearchLabel_->show();
    listSearchLabel_->raise();
}

void ConverterView::closeList()
{
    list_->hide();
    listSearchLabel_->hide();
    listKind_ = ListKind::None;
    listSearch_.clear();
}

void ConverterView::placeList()
{
    const QRect area = rect().adjusted(width() / 12, height() / 12, -width() / 12, -height() / 12);
    const int searchHeight = listSearchLabel_->sizeHint().height();
    listSearchLabel_->setGeometry(area.left(), area.top(), area.width(), searchHeight);
    list_->setGeometry(area.adjusted(0, searchHeight, 0, 0));
}

bool ConverterView::takeListKey(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Escape: closeList(); return true;
    case Qt::Key_Up: moveListRow(-1); return true;
    case Qt::Key_Down: moveListRow(1); return true;
    case Qt::Key_PageUp: moveListRow(-qMax(1, list_->viewport()->height() / qMax(1, fontPixels_ * 2))); return true;
    case Qt::Key_PageDown: moveListRow(qMax(1, list_->viewport()->height() / qMax(1, fontPixels_ * 2))); return true;
    case Qt::Key_Home: moveListRow(-list_->count()); return true;
    case Qt::Key_End: moveListRow(list_->count()); return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (list_->currentItem() && !list_->currentItem()->isHidden())
            listPicked(list_->currentRow());
        return true;
    case Qt::Key_Backspace:
        listSearch_.chop(1);
        filterList();
        return true;
    default: break;
    }
    const QString text = event->text();
    if (!text.isEmpty() && text.at(0).isPrint()) {
        listSearch_ += text;
        filterList();
    }
    // Nothing typed while a list is open reaches the value fields or the display.
    return true;
}

void ConverterView::moveListRow(int steps)
{
    // Among the lines the search leaves, as far as they go.
    int row = list_->currentRow();
    const int direction = steps < 0 ? -1 : 1;
    for (int moved = 0; moved != steps;) {
        int next = row + direction;
        while (next >= 0 && next < list_->count() && list_->item(next)->isHidden())
            next += direction;
        if (next < 0 || next >= list_->count())
            break;
        row = next;
        moved += direction;
    }
    if (row >= 0 && row < list_->count() && !list_->item(row)->isHidden()) {
        list_->setCurrentRow(row);
        list_->scrollToItem(list_->currentItem());
    }
}

void ConverterView::filterList()
{
    // A line stays when it holds the typed text anywhere, case ignored: "mpg" finds both
    // miles per gallon, "gal" every gallon.
    int first = -1;
    for (int row = 0; row < list_->count(); ++row) {
        QListWidgetItem* item = list_->item(row);
        const bool match = listSearch_.isEmpty() || item->text().contains(listSearch_, Qt::CaseInsensitive);
        item->setHidden(!match);
        if (match && first < 0)
            first = row;
    }
    if (listSearch_.isEmpty())
        listSearchLabel_->setText(tr("Type to search"));
    else if (first < 0)
        listSearchLabel_->setText(tr("No match for \u201C%1\u201D").arg(listSearch_));
    else
        listSearchLabel_->setText(tr("Search: %1").arg(listSearch_));
    if (first >= 0 && (!list_->currentItem() || list_->currentItem()->isHidden())) {
        list_->setCurrentRow(first);
        list_->scrollToItem(list_->currentItem());
    }
}

void ConverterView::listPicked(int row)
{
    switch (listKind_) {
    case ListKind::Category: model_.pickCategory(row); break;
    case ListKind::Upper:
    case ListKind::Constant: model_.pickUnit(Model::ValueField::Upper, row); break;
    case ListKind::Lower: model_.pickUnit(Model::ValueField::Lower, row); break;
    case ListKind::None: break;
    }
    closeList();
    refresh();
}

void ConverterView::topClicked()
{
    if (model_.page() != Model::Page::Currency) {
        openList(ListKind::Category);
        return;
    }
    openRateUpdate();
}

void ConverterView::openRateUpdate()
{
    if (findChild<RateUpdateView*>() != nullptr)
        return;
    auto* window = new RateUpdateView(model_.currencyPath(), toQString(preferences_.rateSourceUrl), this);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setDownloadSettings(downloadSettings_);
    connect(window, &RateUpdateView::updateStarted, this, &ConverterView::rateUpdateStarted);
    connect(window, &RateUpdateView::updateFinished, this, &ConverterView::rateUpdateFinished);
    window->open();
}

void ConverterView::rateUpdateStarted(const QString& url)
{
    const std::u16string address = fromQString(url);
    preferences_.rateSourceUrl = address.empty() ? std::u16string(kDefaultRateSourceUrl) : address;
    model_.beginUpdate();
    refresh();
}

void ConverterView::rateUpdateFinished(bool succeeded, bool cancelled, const QString& message, const QString& detail)
{
    model_.finishUpdate(succeeded);
    refresh();
    if (!succeeded && !cancelled) {
        QMessageBox* box = showMessageBox(
            QMessageBox::Warning,
            QString::fromLatin1(currency::kErrorCaption.data(), static_cast<qsizetype>(currency::kErrorCaption.size())),
            message, this);
        box->setDetailedText(detail);
    }
}

void ConverterView::openRateList()
{
    if (model_.page() != Model::Page::Currency || findChild<RateListView*>() != nullptr)
        return;
    auto* window = new RateListView(model_.currencyPath(), this);
    window->setAttribute(Qt::WA_DeleteOnClose);
    connect(window, &RateListView::ratesSaved, this, [this] {
        model_.finishUpdate(true);
        refresh();
    });
    window->open();
}

bool ConverterView::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == parent() && event->type() == QEvent::KeyPress && !isHidden() && !list_->isHidden())
        return takeListKey(static_cast<QKeyEvent*>(event));
    if (event->type() == QEvent::MouseButtonPress) {
        if (watched == top_) {
            topClicked();
            return true;
        }
        if (watched == upper_ || watched == lower_) {
            model_.setActiveField(watched == upper_ ? Model::ValueField::Upper : Model::ValueField::Lower);
            refresh();
            return true;
        }
        if (watched == constantName_) {
            openList(ListKind::Constant);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void ConverterView::resizeEvent(QResizeEvent* event)
{
    applyMetrics();
    if (!list_->isHidden())
        placeList();
    QWidget::resizeEvent(event);
}

void ConverterView::applyMetrics()
{
    // The font follows the height of a row (three fields and five key rows) and the width of the
    // top row, the widest: the date of the rates in bold beside the Rates button.
    const int px = std::max(8, std::min(height() / 17, width() / 19));
    if (px == fontPixels_)
        return;
    fontPixels_ = px;
    setThemedStyleSheet(this, panelStyleSheet(px));
    const int margin = std::max(3, px / 2);
    const int spacing = std::max(2, px / 3);
    rows_->setContentsMargins(margin, margin, margin, margin);
    rows_->setSpacing(spacing);
    // Five rows of keys in a short landscape panel: the rows give up their gaps first.
    keysGrid_->setHorizontalSpacing(spacing);
    keysGrid_->setVerticalSpacing(std::max(1, spacing / 2));
}
