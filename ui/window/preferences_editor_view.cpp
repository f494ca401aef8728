#include "preferences_editor_view.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QProxyStyle>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QStackedWidget>
#include <QVBoxLayout>

#include "calculator.h"
#include "png_image.h"
#include "screen_facts.h"
#include "ui_text.h"

// The selected skin's "SkinPreview", scaled to fit and centred.
class SkinPreviewView : public QWidget {
public:
    using QWidget::QWidget;

    void setImage(QImage image)
    {
        image_ = std::move(image);
        update();
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        if (image_.isNull())
            return;
        const QSize fitted = image_.size().scaled(size(), Qt::KeepAspectRatio);
        const QRect target(QPoint((width() - fitted.width()) / 2, (height() - fitted.height()) / 2), fitted);
        QPainter painter(this);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(target, image_);
    }

private:
    QImage image_;
};

namespace {

using Move = PreferencesEditor::CategoryMove;

// The style's check boxes, radio buttons and slider handles, grown with the fonts on a
// double-size screen.
class ScaledStyle : public QProxyStyle {
public:
    explicit ScaledStyle(int scale) : scale_(scale) {}

    int pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const override
    {
        const int value = QProxyStyle::pixelMetric(metric, option, widget);
        switch (metric) {
        case PM_IndicatorWidth:
        case PM_IndicatorHeight:
        case PM_ExclusiveIndicatorWidth:
        case PM_ExclusiveIndicatorHeight:
        case PM_SliderThickness:
        case PM_SliderLength:
        case PM_SliderControlThickness:
        case PM_SliderTickmarkOffset:
        case PM_ScrollBarExtent:
        case PM_ButtonMargin: return value * scale_;
        default: return value;
        }
    }

private:
    int scale_;
};

// One style per scale for the whole run: a widget's style must outlive the widget, and the
// dialog's children are deleted after its own members.
QStyle* styleForScale(int scale)
{
    static QStyle* doubled = nullptr;
    if (scale <= 1)
        return nullptr;
    if (doubled == nullptr) {
        doubled = new ScaledStyle(2);
        doubled->setParent(qApp);
    }
    return doubled;
}

// A check box whose text wraps: the long texts of these pages are wider than a 240-pixel
// window. Clicking the text toggles the box, as with an ordinary check box.
class WrappingCheckBox : public QWidget {
public:
    WrappingCheckBox(const QString& text, QWidget* parent) : QWidget(parent)
    {
        box_ = new QCheckBox(this);
        box_->setAccessibleName(text);
        label_ = new QLabel(text, this);
        label_->setWordWrap(true);
        label_->setBuddy(box_);
        label_->installEventFilter(this);
        auto* layout = new QHBoxLayout(this);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(box_, 0, Qt::AlignTop);
        layout->addWidget(label_, 1);
        setFocusProxy(box_);
    }

    QCheckBox* box() const { return box_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == label_ && event->type() == QEvent::MouseButtonRelease &&
            static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton && box_->isEnabled()) {
            box_->click();
            box_->setFocus(Qt::MouseFocusReason);
            return true;
        }
        return QWidget::eventFilter(watched, event);
    }

private:
    QCheckBox* box_;
    QLabel* label_;
};

// Small labels under a slider's two ends.
QWidget* sliderWithEnds(QSlider* slider, const QString& low, const QString& high, QWidget* parent)
{
    auto* holder = new QWidget(parent);
    auto* layout = new QGridLayout(holder);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setVerticalSpacing(0);
    layout->addWidget(slider, 0, 0, 1, 2);
    layout->addWidget(new QLabel(low, holder), 1, 0, Qt::AlignLeft);
    layout->addWidget(new QLabel(high, holder), 1, 1, Qt::AlignRight);
    return holder;
}

QSlider* makeSlider(int low, int high, int tick, int value, QWidget* parent)
{
    auto* slider = new QSlider(Qt::Horizontal, parent);
    slider->setRange(low, high);
    slider->setTickInterval(tick);
    slider->setTickPosition(QSlider::TicksBelow);
    slider->setPageStep(tick);
    slider->setValue(value);
    return slider;
}

QVBoxLayout* pageLayout(QWidget* page, int scale)
{
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(4 * scale);
    return layout;
}

// Buttons on the pages take Space; Enter always means OK.
QPushButton* pageButton(const QString& text, QWidget* parent)
{
    auto* button = new QPushButton(text, parent);
    button->setAutoDefault(false);
    return button;
}

std::optional<int> selectedRow(const QListWidget* list)
{
    const int row = list->currentRow();
    return row >= 0 && list->currentItem() != nullptr && list->currentItem()->isSelected() ? std::optional(row)
                                                                                           : std::nullopt;
}

QImage toQImage(const PngImage& png)
{
    QImage image(png.rgba.data(), png.width, png.height, png.width * 4, QImage::Format_RGBA8888);
    return image.copy();  // the pixels outlive the decoded buffer
}

}  // namespace

PreferencesEditorView::PreferencesEditorView(PreferencesEditor& model, QSize size, QWidget* parent)
    : QDialog(parent), model_(model), scale_(ScreenFacts::of(size).scale)
{
    setWindowTitle(tr("Preferences"));
    QFont font = this->font();
    font.setPixelSize(11 * scale_);
    setFont(font);
    // The main window's style sheet reaches this dialog and would put every child back to the
    // default size once polished: the dialog's own sheet keeps the size it chose.
    setStyleSheet(QStringLiteral("* { font-size: %1px; } QLabel#outputNote { font-size: %2px; }")
                      .arg(11 * scale_)
                      .arg(10 * scale_));

    pageList_ = new QListWidget(this);
    for (std::u16string_view name : PreferencesEditor::kPageNames)
        pageList_->addItem(toQString(name));
    pages_ = new QStackedWidget(this);
    pages_->addWidget(makeGeneralPage());
    pages_->addWidget(makeCategoriesPage());
    pages_->addWidget(makeSoundsPage());
    pages_->addWidget(makeSkinsPage());
    pages_->addWidget(makeModesPage());
    connect(pageList_, &QListWidget::currentRowChanged, pages_, &QStackedWidget::setCurrentIndex);

    // The list is as wide as its longest name, in the font the dialog's sheet gives it.
    pageList_->ensurePolished();
    pageList_->setFixedWidth(pageList_->sizeHintForColumn(0) + 2 * pageList_->frameWidth() + 4 * scale_);
    pageList_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* body = new QHBoxLayout;
    body->setSpacing(6 * scale_);
    body->addWidget(pageList_);
    body->addWidget(pages_, 1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(5 * scale_, 5 * scale_, 5 * scale_, 5 * scale_);
    layout->setSpacing(5 * scale_);
    layout->addLayout(body, 1);
    layout->addWidget(buttons);

    if (QStyle* style = styleForScale(scale_)) {
        setStyle(style);
        for (QWidget* child : findChildren<QWidget*>())
            child->setStyle(style);
    }

    showPage(0);
    updateEnabled();
    updatePreview();
    resize(size);
}

void PreferencesEditorView::showPage(int page)
{
    pageList_->setCurrentRow(page);
}

QWidget* PreferencesEditorView::makeGeneralPage()
{
    auto* page = new QWidget(this);  // a parent from the start, so the fonts below are the dialog's
    QVBoxLayout* layout = pageLayout(page, scale_);

    auto* tooltips = new WrappingCheckBox(tr("Show the functions' tooltips"), page);
    tooltips->box()->setChecked(model_.tooltipsEnabled);
    connect(tooltips->box(), &QCheckBox::toggled, this, [this](bool on) { model_.tooltipsEnabled = on; });

    auto* transparency = new WrappingCheckBox(tr("Enable transparency"), page);
    transparency->box()->setChecked(model_.transparencyEnabled);
    connect(transparency->box(), &QCheckBox::toggled, this, [this](bool on) { model_.transparencyEnabled = on; });
    QSlider* level = makeSlider(0, kMaxTransparencyLevel, 5, model_.transparencyLevel, page);
    level->setAccessibleName(tr("Transparency"));
    connect(level, &QSlider::valueChanged, this, [this](int value) { model_.transparencyLevel = value; });

    auto* digitsLabel = new QLabel(tr("Decimal digits in fix mode"), page);
    digitsLabel->setWordWrap(true);
    auto* digits = new QComboBox(page);
    for (const std::u16string& item : PreferencesEditor::fixDigitsItems())
        digits->addItem(toQString(item));
    digits->setCurrentIndex(model_.fixDigitsItem);
    digitsLabel->setBuddy(digits);
    connect(digits, &QComboBox::currentIndexChanged, this, [this](int item) { model_.fixDigitsItem = item; });
    auto* digitsRow = new QHBoxLayout;
    digitsRow->addWidget(digitsLabel, 1);
    digitsRow->addWidget(digits);

    auto* tapHold = new WrappingCheckBox(tr("Tap and hold for the orange functions; hold time:"), page);
    tapHold->box()->setChecked(model_.tapHoldEnabled);
    connect(tapHold->box(), &QCheckBox::toggled, this, [this](bool on) { model_.tapHoldEnabled = on; });
    QSlider* interval = makeSlider(kMinTapHoldInterval, kMaxTapHoldInterval, 80, model_.tapHoldInterval, page);
    interval->setAccessibleName(tr("Tap and hold interval"));
    interval->setSingleStep(10);
    connect(interval, &QSlider::valueChanged, this, [this](int value) { model_.tapHoldInterval = value; });

    layout->addWidget(tooltips);
    layout->addWidget(transparency);
    layout->addWidget(sliderWithEnds(level, tr("Min"), tr("Max"), page));
    layout->addLayout(digitsRow);
    layout->addWidget(tapHold);
    layout->addWidget(sliderWithEnds(interval, QStringLiteral("200"), QStringLiteral("600(ms)"), page));
    layout->addStretch(1);
    return page;
}

QWidget* PreferencesEditorView::makeCategoriesPage()
{
    auto* page = new QWidget(this);
    QVBoxLayout* layout = pageLayout(page, scale_);

    auto* scrolling = new WrappingCheckBox(tr("Hard keys scroll through the categories"), page);
    scrolling->box()->setChecked(model_.hardKeyScrolling);
    connect(scrolling->box(), &QCheckBox::toggled, this, [this](bool on) {
        model_.hardKeyScrolling = on;
        updateEnabled();
    });

    categoryList_ = new QListWidget(page);
    categoryList_->setAccessibleName(tr("Categories"));
    categoryList_->ensurePolished();
    categoryList_->setMinimumHeight(categoryList_->fontMetrics().height() * 4);
    fillCategoryRows();
    connect(categoryList_, &QListWidget::currentRowChanged, this,
            [this](int row) { model_.selectCategoryRow(row >= 0 ? std::optional(row) : std::nullopt); });
    connect(categoryList_, &QListWidget::itemChanged, this, [this](QListWidgetItem* item) {
        model_.setCategoryRowChecked(categoryList_->row(item), item->checkState() == Qt::Checked);
    });

    categoryButtons_ = new QWidget(page);
    auto* grid = new QGridLayout(categoryButtons_);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(3 * scale_);
    const struct {
        const char* text;
        Move move;
    } moves[] = {{"Top", Move::Top}, {"Up", Move::Up}, {"Down", Move::Down}, {"Bottom", Move::Bottom}};
    int column = 0;
    for (const auto& move : moves) {
        QPushButton* button = pageButton(tr(move.text), categoryButtons_);
        // The style's 80-pixel button would make four of them wider than a small window.
        button->ensurePolished();
        button->setMinimumWidth(button->fontMetrics().horizontalAdvance(button->text()) + 6 * scale_);
        connect(button, &QPushButton::clicked, this, [this, m = move.move] { moveCategory(m); });
        grid->addWidget(button, 0, column++);
    }
    QPushButton* defaults = pageButton(tr("Default"), categoryButtons_);
    connect(defaults, &QPushButton::clicked, this, [this] {
        model_.restoreDefaultCategories();
        fillCategoryRows();
    });
    grid->addWidget(defaults, 1, 0, 1, 4);

    layout->addWidget(scrolling);
    layout->addWidget(categoryList_, 1);
    layout->addWidget(categoryButtons_);
    return page;
}

// Rewrites the rows from the model and selects its selected row.
void PreferencesEditorView::fillCategoryRows()
{
    const QSignalBlocker blocker(categoryList_);
    categoryList_->clear();
    for (int row = 0; row < PreferencesEditor::kCategoryRowCount; ++row) {
        auto* item = new QListWidgetItem(toQString(model_.categoryRowName(row)), categoryList_);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        item->setCheckState(model_.categoryRowChecked(row) ? Qt::Checked : Qt::Unchecked);
    }
    if (const std::optional<int> row = model_.selectedCategoryRow()) {
        categoryList_->setCurrentRow(*row);
        categoryList_->scrollToItem(categoryList_->item(*row));
    }
}

void PreferencesEditorView::moveCategory(Move move)
{
    model_.selectCategoryRow(selectedRow(categoryList_));
    if (model_.moveCategory(move))
        fillCategoryRows();
    categoryList_->setFocus();
}

QWidget* PreferencesEditorView::makeSoundsPage()
{
    auto* page = new QWidget(this);
    QVBoxLayout* layout = pageLayout(page, scale_);

    auto* enable = new WrappingCheckBox(tr("Play key sounds"), page);
    enable->box()->setChecked(model_.soundEnabled);
    connect(enable->box(), &QCheckBox::toggled, this, [this](bool on) {
        model_.soundEnabled = on;
        updateEnabled();
    });

    soundList_ = new QListWidget(page);
    soundList_->setAccessibleName(tr("Sounds"));
    for (const std::u16string& name : model_.sounds())
        soundList_->addItem(toQString(name));
    if (const std::optional<int> row = model_.selectedSound())
        soundList_->setCurrentRow(*row);
    connect(soundList_, &QListWidget::currentRowChanged, this,
            [this](int row) { model_.selectSound(row >= 0 ? std::optional(row) : std::nullopt); });

    playButton_ = pageButton(tr("Play"), page);
    connect(playButton_, &QPushButton::clicked, this, [this] { sound_.play(model_.playPath()); });
    connect(soundList_, &QListWidget::itemDoubleClicked, playButton_, &QPushButton::click);

    layout->addWidget(enable);
    layout->addWidget(soundList_, 1);
    layout->addWidget(playButton_, 0, Qt::AlignLeft);
    return page;
}

QWidget* PreferencesEditorView::makeSkinsPage()
{
    auto* page = new QWidget(this);
    QVBoxLayout* layout = pageLayout(page, scale_);

    auto* label = new QLabel(tr("Choose one of the skins:"), page);
    label->setWordWrap(true);
    skinList_ = new QListWidget(page);
    for (const std::u16string& name : model_.skins())
        skinList_->addItem(toQString(name));
    if (const std::optional<int> row = model_.selectedSkin())
        skinList_->setCurrentRow(*row);
    label->setBuddy(skinList_);
    connect(skinList_, &QListWidget::currentRowChanged, this, [this](int row) {
        model_.selectSkin(row >= 0 ? std::optional(row) : std::nullopt);
        updatePreview();
    });
    // A few rows, and the rest for the preview.
    skinList_->ensurePolished();
    skinList_->setMaximumHeight(skinList_->fontMetrics().height() * 5 + 4 * skinList_->frameWidth());

    preview_ = new SkinPreviewView(page);
    preview_->setAccessibleName(tr("Skin preview"));
    preview_->setMinimumSize(60 * scale_, 80 * scale_);

    layout->addWidget(label);
    layout->addWidget(skinList_);
    layout->addWidget(preview_, 1);
    return page;
}

QWidget* PreferencesEditorView::makeModesPage()
{
    auto* page = new QWidget(this);
    QVBoxLayout* layout = pageLayout(page, scale_);

    auto* inputLabel = new QLabel(tr("Input mode:"), page);
    auto* input = new QComboBox(page);
    for (std::u16string_view kind : PreferencesEditor::kInputKinds)
        input->addItem(toQString(kind));
    input->setCurrentIndex(model_.inputKind == PreferencesEditor::InputKind::Basic ? 1 : 0);
    inputLabel->setBuddy(input);
    connect(input, &QComboBox::currentIndexChanged, this, [this](int item) {
        model_.inputKind = item == 1 ? PreferencesEditor::InputKind::Basic : PreferencesEditor::InputKind::String;
        updateEnabled();
    });

    modeRadios_ = new QWidget(page);
    auto* standard = new QRadioButton(tr("Standard"), modeRadios_);
    auto* rpn = new QRadioButton(tr("RPN"), modeRadios_);
    (model_.rpn ? rpn : standard)->setChecked(true);
    connect(rpn, &QRadioButton::toggled, this, [this](bool on) { model_.rpn = on; });
    auto* radioLayout = new QHBoxLayout(modeRadios_);
    radioLayout->setContentsMargins(8 * scale_, 0, 0, 0);
    radioLayout->addWidget(standard);
    radioLayout->addWidget(rpn);
    radioLayout->addStretch(1);
    // The page keeps its shape when the radios hide for "String".
    QSizePolicy policy = modeRadios_->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    modeRadios_->setSizePolicy(policy);

    auto* outputLabel = new QLabel(tr("Output mode:"), page);
    auto* output = new QComboBox(page);
    output->setObjectName(QStringLiteral("outputMode"));
    for (std::u16string_view mode : PreferencesEditor::kOutputModes)
        output->addItem(toQString(mode));
    output->setCurrentIndex(model_.outputModeItem);
    outputLabel->setBuddy(output);
    connect(output, &QComboBox::currentIndexChanged, this, [this](int item) { model_.outputModeItem = item; });

    // A note, a size smaller: its lines are laid out with spaces and must not wrap.
    auto* note = new QLabel(toQString(PreferencesEditor::kOutputNote), page);
    note->setObjectName(QStringLiteral("outputNote"));

    auto* pocket =
        new WrappingCheckBox(tr("Pocket keyboard letters (W E R type 1 2 3, P and Q switch categories)"), page);
    pocket->box()->setObjectName(QStringLiteral("pocketKeyboardLetters"));
    pocket->box()->setChecked(model_.pocketKeyboardLetters);
    connect(pocket->box(), &QCheckBox::toggled, this, [this](bool on) { model_.pocketKeyboardLetters = on; });
    auto* pocketLines = new WrappingCheckBox(tr("Pocket line editing"), page);
    pocketLines->box()->setObjectName(QStringLiteral("pocketLineEditing"));
    pocketLines->box()->setToolTip(
        tr("After \"=\", typed keys edit the evaluated line instead of starting a new expression."));
    pocketLines->box()->setChecked(model_.pocketLineEditing);
    connect(pocketLines->box(), &QCheckBox::toggled, this, [this](bool on) { model_.pocketLineEditing = on; });

    // Labels above their combos: side by side they are wider than a small window.
    layout->addWidget(inputLabel);
    layout->addWidget(input);
    layout->addWidget(modeRadios_);
    layout->addWidget(outputLabel);
    layout->addWidget(output);
    layout->addWidget(note);
    layout->addWidget(pocket);
    layout->addWidget(pocketLines);
    layout->addStretch(1);
    return page;
}

void PreferencesEditorView::updateEnabled()
{
    categoryList_->setEnabled(model_.categoryControlsEnabled());
    categoryButtons_->setEnabled(model_.categoryControlsEnabled());
    soundList_->setEnabled(model_.soundControlsEnabled());
    playButton_->setEnabled(model_.soundControlsEnabled());
    modeRadios_->setVisible(model_.modeRadiosVisible());
}

void PreferencesEditorView::updatePreview()
{
    const std::optional<PngImage> png = readPng(model_.previewPath(scale_ > 1));
    preview_->setImage(png ? toQImage(*png) : QImage());
}

PreferencesEditor::OkResult PreferencesEditorView::run(Calculator& calculator, const ProgramFolder& folder,
                                                       QWidget* parent)
{
    PreferencesEditor model(calculator, folder);
    const QSize size = parent != nullptr ? parent->window()->size() : QSize(480, 640);
    PreferencesEditorView view(model, size, parent);
    if (view.exec() != QDialog::Accepted)
        return {};
    return model.ok(calculator);
}
