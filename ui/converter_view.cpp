#include "converter_view.h"

#include <QApplication>
#include <QBoxLayout>
#include <QClipboard>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QStyle>
#include <QTimer>

#include <algorithm>

#include "rate_update.h"
#include "keypads.h"
#include "calculator.h"
#include "clipboard_number.h"
#include "ui_text.h"

namespace {

using Model = Converter;

// The on-panel keypad, four rows of five: the label and the character code each key sends.
struct ConverterKey {
    const char16_t* label;
    char16_t code;
};
constexpr ConverterKey kConverterKeys[] = {
    {u"7", u'7'}, {u"8", u'8'}, {u"9", u'9'}, {u"/", u'/'}, {u"\u2190", Model::kBackspace},
    {u"4", u'4'}, {u"5", u'5'}, {u"6", u'6'}, {u"*", u'*'}, {u"M", u'M'},
    {u"1", u'1'}, {u"2", u'2'}, {u"3", u'3'}, {u"-", u'-'}, {u"R", u'R'},
    {u"0", u'0'}, {u".", u'.'}, {u"=", u'='}, {u"+", u'+'}, {u"\u21C5", u'\t'},
};
constexpr int kKeyColumns = 5;
constexpr char16_t kSwapField = ConverterView::kSwapField;

// The tip panel's colours, so that the tools read as one window.
QString panelStyleSheet(int px)
{
    return QStringLiteral(
               "ConverterView { background: #1B222C; }"
               "QLabel { color: #AEB9C4; font-size: %1px; }"
               "QLabel[field=\"true\"] { background: #1F2731; color: #E8EEF2; border: 1px solid #3A4654;"
               " border-radius: %2px; padding: %2px %3px; font-size: %1px; }"
               "QLabel[field=\"true\"][active=\"true\"] { border: 2px solid #F29B38; background: #26303C; }"
               "QLabel#top { background: #161C24; color: #F29B38; font-weight: bold; padding: %2px %3px; }"
               "QPushButton { background: #2A3440; color: #E8EEF2; border: 1px solid #3A4654;"
               " border-radius: %2px; padding: %2px; font-size: %1px; }"
               "QPushButton:hover { border-color: #F29B38; }"
               "QPushButton:pressed { background: #F29B38; color: #141A21; }"
               "QPushButton[unit=\"true\"] { color: #F29B38; }"
               "QListWidget { background: #1F2731; color: #E8EEF2; border: 2px solid #F29B38; font-size: %1px; }"
               "QListWidget::item:selected { background: #F29B38; color: #141A21; }")
        .arg(px)
        .arg(std::max(1, px / 6))
        .arg(std::max(2, px / 3));
}

int pageOf(int category)
{
    if (category == CategoryCode::kCurrencyConverter)
        return Model::kCurrencyPage;
    if (category == CategoryCode::kConstants)
        return Model::kConstantsPage;
    return Model::kUnitsPage;
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

ConverterView::ConverterView(Calculator& frame, const std::filesystem::path& dataFolder,
                                                         const std::filesystem::path& stateFolder, QWidget* parent)
    : QWidget(parent), frame_(frame), model_(dataFolder, outputFormatFromName(frame.preferences().outputFormat))
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
    connect(copyButton_, &QPushButton::clicked, this, [this] {
        QApplication::clipboard()->setText(
            toQString(clipboardNumberText(model_.constantFields()[Model::kConstantValueField].value)));
    });

    keys_ = new QWidget(this);
    keysGrid_ = new QGridLayout(keys_);
    keysGrid_->setContentsMargins(0, 0, 0, 0);
    int index = 0;
    for (const ConverterKey& key : kConverterKeys) {
        auto* button = new QPushButton(toQString(key.label), keys_);
        button->setFocusPolicy(Qt::NoFocus);
        button->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
        const char16_t code = key.code;
        connect(button, &QPushButton::clicked, this, [this, code] { pressKey(code); });
        keysGrid_->addWidget(button, index / kKeyColumns, index % kKeyColumns);
        ++index;
    }

    auto* upperRow = new QHBoxLayout;
    upperRow->addWidget(upper_, 3);
    upperRow->addWidget(upperUnit_, 2);
    auto* lowerRow = new QHBoxLayout;
    lowerRow->addWidget(lower_, 3);
    lowerRow->addWidget(lowerUnit_, 2);

    rows_ = new QVBoxLayout(this);
    rows_->addWidget(top_);
    rows_->addLayout(upperRow);
    rows_->addLayout(lowerRow);
    rows_->addWidget(constantName_);
    rows_->addWidget(constantValue_);
    rows_->addWidget(copyButton_);
    rows_->addWidget(keys_, 1);

    // The pick lists cover the panel until a line is chosen.
    list_ = new QListWidget(this);
    list_->setObjectName(QStringLiteral("converterList"));
    list_->setFocusPolicy(Qt::NoFocus);
    list_->hide();
    connect(list_, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) { listPicked(list_->row(item)); });

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
        list_->hide();
        listKind_ = ListKind::None;
    }
    refresh();
}

void ConverterView::refresh()
{
    model_.setOutputFormat(outputFormatFromName(frame_.preferences().outputFormat));
    const bool constants = model_.page() >= Model::kConstantsPage;
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
    const bool currency = model_.page() == Model::kCurrencyPage;
    top_->setText(currency ? tr("Rates of %1").arg(displayString(page.top.value)) : displayString(page.top.value));
    top_->setToolTip(currency ? tr("Update the rates") : tr("Choose a category"));
    upper_->setText(displayString(page.upper.value));
    lower_->setText(displayString(page.lower.value));
    upperUnit_->setText(displayString(page.upper.caption));
    lowerUnit_->setText(displayString(page.lower.caption));
    setActive(upper_, page.active == 0);
    setActive(lower_, page.active == 1);
}

void ConverterView::pressKey(char16_t code)
{
    if (code == kSwapField)
        model_.setActiveField(1 - model_.convertPage().active);
    else
        model_.handleKey(code);
    refresh();
}

bool ConverterView::takeKey(QKeyEvent* event)
{
    if (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))
        return false;
    if (!list_->isHidden()) {
        // The open list has the keys: they move its selection or pick, and none reaches the
        // display behind it.
        const int last = list_->count() - 1;
        const int row = list_->currentRow();
        const int page = std::max(1, list_->viewport()->height() / std::max(1, list_->sizeHintForRow(0)));
        switch (event->key()) {
        case Qt::Key_Escape:
            list_->hide();
            listKind_ = ListKind::None;
            break;
        case Qt::Key_Up: list_->setCurrentRow(std::max(0, row - 1)); break;
        case Qt::Key_Down: list_->setCurrentRow(std::min(last, row + 1)); break;
        case Qt::Key_PageUp: list_->setCurrentRow(std::max(0, row - page)); break;
        case Qt::Key_PageDown: list_->setCurrentRow(std::min(last, row + page)); break;
        case Qt::Key_Home: list_->setCurrentRow(0); break;
        case Qt::Key_End: list_->setCurrentRow(last); break;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            if (row >= 0)
                listPicked(row);
            break;
        default: break;
        }
        return true;
    }
    if (model_.page() >= Model::kConstantsPage)
        return false;
    char16_t code = 0;
    switch (event->key()) {
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
    const bool known = (code >= u'0' && code <= u'9') || std::u16string_view(u".+-*/=MR\b\t").find(code) !=
                                                              std::u16string_view::npos;
    if (!known)
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
    list_->setGeometry(rect().adjusted(width() / 12, height() / 12, -width() / 12, -height() / 12));
    if (current >= 0 && current < list_->count())
        list_->setCurrentRow(current);
    list_->scrollToItem(list_->currentItem());
    list_->show();
    list_->raise();
}

void ConverterView::listPicked(int row)
{
    switch (listKind_) {
    case ListKind::Category: model_.pickCategory(row); break;
    case ListKind::Upper: model_.pickUnit(0, row); break;
    case ListKind::Lower: model_.pickUnit(1, row); break;
    case ListKind::Constant: model_.pickUnit(0, row); break;
    case ListKind::None: break;
    }
    listKind_ = ListKind::None;
    list_->hide();
    refresh();
}

void ConverterView::topClicked()
{
    if (model_.page() != Model::kCurrencyPage) {
        openList(ListKind::Category);
        return;
    }
    model_.beginUpdate();
    refresh();
    // The "Updating ..." text is painted before the update holds the window.
    QTimer::singleShot(500, this, [this] { runUpdate(); });
}

void ConverterView::runUpdate()
{
    RateUpdate update(model_.currencyPath());
    const bool done = update.run(RateUpdate::proxyFromEnvironment());
    model_.finishUpdate(done);
    refresh();
    if (!done)
        QMessageBox::warning(this, QString::fromLatin1(currency::kErrorCaption.data(),
                                                       static_cast<qsizetype>(currency::kErrorCaption.size())),
                             QString::fromStdString(update.errorMessage()));
}

bool ConverterView::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonPress) {
        if (watched == top_) {
            topClicked();
            return true;
        }
        if (watched == upper_ || watched == lower_) {
            model_.setActiveField(watched == upper_ ? 0 : 1);
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
        list_->setGeometry(rect().adjusted(width() / 12, height() / 12, -width() / 12, -height() / 12));
    QWidget::resizeEvent(event);
}

void ConverterView::applyMetrics()
{
    // The font follows the height of a row (three fields and four key rows) and the width that a
    // full value field needs.
    const int px = std::max(8, std::min(height() / 14, width() / 16));
    if (px == fontPixels_)
        return;
    fontPixels_ = px;
    setStyleSheet(panelStyleSheet(px));
    const int margin = std::max(3, px / 2);
    const int spacing = std::max(2, px / 3);
    rows_->setContentsMargins(margin, margin, margin, margin);
    rows_->setSpacing(spacing);
    keysGrid_->setHorizontalSpacing(spacing);
    keysGrid_->setVerticalSpacing(spacing);
}
