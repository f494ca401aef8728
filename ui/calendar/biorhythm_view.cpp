#include "biorhythm_view.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDateTime>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QTextBrowser>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "preferences.h"
#include "screen_facts.h"
#include "ui_text.h"
#include "panel_style.h"

namespace {

// The report's and the chart's colours are dark, so both sit on paper inside the dark panel.
constexpr const char* kPaper = "#F4F1EA";

QString panelStyleSheet(int scale)
{
    return QStringLiteral(
               "BiorhythmView { background: @window; }"
               "QWidget#bioHeader, QWidget#bioBody { background: @window; }"
               "QLabel { color: @label; font-size: %1px; }"
               "QPushButton { background: @button; color: @text; border: 1px solid @line;"
               " border-radius: %2px; padding: %2px %3px; font-size: %1px; }"
               "QPushButton:pressed { background: @accent; color: @window; }"
               "QPushButton[date=\"true\"] { background: @field; text-align: left; }"
               "QPushButton[date=\"true\"]:hover { border: 1px solid @accent; }"
               "QComboBox { background: @field; color: @text; border: 1px solid @line;"
               " padding: 0px %3px; font-size: %1px; }"
               "QComboBox:focus { border: 1px solid @accent; }"
               "QTextBrowser { background: %4; color: @window; border: 1px solid @line; font-size: %1px; }")
        .arg(12 * scale)
        .arg(2 * scale)
        .arg(4 * scale)
        .arg(QLatin1String(kPaper));
}

// The dialogs of the panel keep its colours: light text on the dark panel, the lists on paper.
// Without a sheet of their own they would take the panel's grey captions onto a grey dialog.
QString dialogStyleSheet(int scale)
{
    return QStringLiteral(
               "QDialog { background: @window; }"
               "QLabel, QCheckBox { color: @text; font-size: %1px; background: transparent; }"
               "QCheckBox::indicator { width: %2px; height: %2px; border: 1px solid @label; background: @field; }"
               "QCheckBox::indicator:checked { background: @accent; border-color: @accent; }"
               "QComboBox, QDateEdit { background: @field; color: @text; border: 1px solid @line;"
               " padding: 1px %3px; font-size: %1px; }"
               "QComboBox QAbstractItemView { background: @field; color: @text;"
               " selection-background-color: @accent; selection-color: @window; }"
               "QTreeWidget { background: %4; color: @window; border: 1px solid @line; font-size: %1px; }"
               "QHeaderView::section { background: @button; color: @text; border: 0px; padding: 1px %3px;"
               " font-size: %1px; }"
               "QPushButton { background: @button; color: @text; border: 1px solid @line;"
               " border-radius: %5px; padding: %5px %3px; font-size: %1px; }"
               "QPushButton:pressed { background: @accent; color: @window; }")
        .arg(12 * scale)
        .arg(9 * scale)
        .arg(4 * scale)
        .arg(QLatin1String(kPaper))
        .arg(2 * scale);
}

QColor penColour(std::uint32_t rgb)
{
    return QColor(static_cast<int>((rgb >> 16) & 0xFF), static_cast<int>((rgb >> 8) & 0xFF),
                  static_cast<int>(rgb & 0xFF));
}

std::uint32_t tickCount()
{
    return static_cast<std::uint32_t>(QDateTime::currentMSecsSinceEpoch());
}

QIcon dayIcon(bool good)
{
    QPixmap pixmap(12, 12);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(good ? QColor(0x2E, 0xA0, 0x43) : QColor(0xD0, 0x3A, 0x2F));
    painter.drawEllipse(1, 1, 10, 10);
    return QIcon(pixmap);
}

// Typing into the date picker reads the whole date as typed, "12/25/1985" or "12251985", where
// the date edit's own sections would carry digits past a separator into the next field.
class TypedDateFilter : public QObject {
public:
    TypedDateFilter(QDateEdit* edit, DateOrder order) : QObject(edit), edit_(edit), order_(order) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched != edit_ || event->type() != QEvent::KeyPress)
            return false;
        auto* key = static_cast<QKeyEvent*>(event);
        const QString text = key->text();
        if (key->key() == Qt::Key_Backspace) {
            typed_.chop(1);
        } else if (text.size() == 1 && (text[0].isDigit() || QStringLiteral("/-.").contains(text[0]))) {
            typed_ += text;
        } else {
            return false;
        }
        const StoredDate date = typedDate(fromQString(typed_), order_);
        if (date.isValid())
            edit_->setDate(QDate(date.year, date.month, date.day));
        return true;
    }

private:
    QDateEdit* edit_;
    DateOrder order_;
    QString typed_;
};

}  // namespace

BiorhythmChartView::BiorhythmChartView(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void BiorhythmChartView::setChart(const BiorhythmChart* chart)
{
    chart_ = chart;
    update();
}

void BiorhythmChartView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), QColor(QLatin1String(kPaper)));
    if (!chart_)
        return;
    const BiorhythmChart::Rect& r = chart_->rect();
    // Frame, the middle line and the view day's column, quiet so the curves stand out.
    painter.setPen(QColor(0xB8, 0xB2, 0xA6));
    painter.drawRect(r.left - 1, r.top - 1, r.right - r.left + 1, r.bottom - r.top + 1);
    painter.drawLine(r.left, r.top + (r.bottom - r.top) / 2, r.right - 1, r.top + (r.bottom - r.top) / 2);
    painter.setPen(QColor(0xF2, 0x9B, 0x38));
    const int middle = r.left + (r.right - r.left) / 2;
    painter.drawLine(middle, r.top, middle, r.bottom - 1);
    for (int cycle = 0; cycle < kBioCycleCount; ++cycle) {
        painter.setPen(penColour(kBioCycles[static_cast<std::size_t>(cycle)].penRgb));
        for (const BioPixel& pixel : chart_->pixels(static_cast<BioCycle>(cycle)))
            painter.drawPoint(pixel.x, pixel.y);
    }
}

BiorhythmView::BiorhythmView(Preferences& preferences, ProgramFolder folder, QWidget* parent)
    : QWidget(parent), preferences_(preferences), folder_(std::move(folder))
{
    setObjectName(QStringLiteral("biorhythmWindow"));
    setAttribute(Qt::WA_StyledBackground);
    header_ = new QWidget(this);
    header_->setObjectName(QStringLiteral("bioHeader"));
    body_ = new QWidget(this);
    body_->setObjectName(QStringLiteral("bioBody"));
    for (QWidget* part : {header_, body_})
        part->setAttribute(Qt::WA_StyledBackground);

    chart_ = new BiorhythmChartView(header_);
    chart_->setObjectName(QStringLiteral("bioChart"));
    birthButton_ = new QPushButton(header_);
    birthButton_->setObjectName(QStringLiteral("bioBirth"));
    birthButton_->setProperty("date", true);
    birthButton_->setToolTip(tr("Select date of birth"));
    viewButton_ = new QPushButton(header_);
    viewButton_->setObjectName(QStringLiteral("bioView"));
    viewButton_->setProperty("date", true);
    viewButton_->setToolTip(tr("Select a date to view"));
    birthCaption_ = new QLabel(toQString(Biorhythm::kFirstBirthCaption), header_);
    birthCaption_->setObjectName(QStringLiteral("bioBirthCaption"));
    viewCaption_ = new QLabel(toQString(Biorhythm::kViewCaption), header_);
    viewCaption_->setObjectName(QStringLiteral("bioViewCaption"));
    auto* headerLayout = new QVBoxLayout(header_);
    headerLayout->setContentsMargins(0, 0, 0, 2);
    headerLayout->setSpacing(1);
    headerLayout->addWidget(chart_);
    datesGrid_ = new QGridLayout;
    datesGrid_->setContentsMargins(2, 0, 2, 0);
    datesGrid_->setHorizontalSpacing(4);
    datesGrid_->setVerticalSpacing(1);
    headerLayout->addLayout(datesGrid_);

    persons_ = new QComboBox(body_);
    persons_->setObjectName(QStringLiteral("bioPersons"));
    persons_->setEditable(true);
    persons_->setInsertPolicy(QComboBox::NoInsert);
    persons_->lineEdit()->setPlaceholderText(tr("No person"));
    persons_->setToolTip(tr("Person (type to rename)"));
    newButton_ = new QPushButton(tr("New"), body_);
    newButton_->setObjectName(QStringLiteral("bioNew"));
    newButton_->setToolTip(tr("New person"));
    removeButton_ = new QPushButton(tr("Delete"), body_);
    removeButton_->setObjectName(QStringLiteral("bioRemove"));
    removeButton_->setToolTip(tr("Remove person"));
    report_ = new QTextBrowser(body_);
    report_->setObjectName(QStringLiteral("bioReport"));
    report_->setOpenLinks(false);
    daysButton_ = new QPushButton(tr("Remarkable days..."), body_);
    daysButton_->setObjectName(QStringLiteral("bioDays"));
    personRow_ = new QHBoxLayout;
    personRow_->setSpacing(2);
    personRow_->addWidget(persons_, 1);
    personRow_->addWidget(newButton_);
    personRow_->addWidget(removeButton_);
    bodyLayout_ = new QVBoxLayout(body_);
    bodyLayout_->setContentsMargins(2, 2, 2, 2);
    bodyLayout_->setSpacing(2);
    bodyLayout_->addLayout(personRow_);
    bodyLayout_->addWidget(report_, 1);
    bodyLayout_->addWidget(daysButton_);
    arrangeForShape(false);
    for (QWidget* control :
         std::initializer_list<QWidget*>{birthButton_, viewButton_, newButton_, removeButton_, daysButton_})
        control->setFocusPolicy(Qt::NoFocus);

    connect(birthButton_, &QPushButton::clicked, this, &BiorhythmView::chooseBirthDate);
    connect(viewButton_, &QPushButton::clicked, this, &BiorhythmView::chooseViewDate);
    connect(daysButton_, &QPushButton::clicked, this, &BiorhythmView::openRemarkableDays);
    connect(newButton_, &QPushButton::clicked, this, [this] {
        if (model_ && model_->newPerson())
            refresh();
    });
    connect(removeButton_, &QPushButton::clicked, this, [this] {
        if (model_ && model_->removePerson(persons_->currentIndex()))
            refresh();
    });
    connect(persons_, &QComboBox::activated, this, [this](int index) {
        if (model_ && model_->selectPerson(index))
            refresh();
    });
    connect(persons_->lineEdit(), &QLineEdit::editingFinished, this, [this] {
        if (model_ && model_->selected() >= 0 &&
            model_->renamePerson(model_->selected(), fromQString(persons_->lineEdit()->text())))
            showPersons();
    });
    hide();
}

BiorhythmView::~BiorhythmView() = default;

void BiorhythmView::setBand(int top, int height)
{
    bandTop_ = top;
    bandHeight_ = height;
    placeChildren();
}

void BiorhythmView::resizeEvent(QResizeEvent*)
{
    placeChildren();
}

void BiorhythmView::placeChildren()
{
    // The window's facts: the panel spans it, and a hidden window has not laid the panel out yet.
    const ScreenFacts facts = ScreenFacts::of(window()->size());
    setThemedStyleSheet(this, panelStyleSheet(facts.scale));
    arrangeForShape(facts.landscape || facts.square);
    const BiorhythmChart::Rect chartRect = BiorhythmChart::rectFor(facts.scale, facts.landscape || facts.square);
    chart_->setFixedHeight(chartRect.bottom + 3);
    if (model_)
        model_->setChartRect(chartRect);
    header_->setGeometry(0, 0, width(), bandTop_);
    body_->setGeometry(0, bandTop_ + bandHeight_, width(), height() - bandTop_ - bandHeight_);
    if (model_ && isVisible())
        refresh();
}

void BiorhythmView::arrangeForShape(bool landscape)
{
    if (landscape == landscape_ && datesGrid_->count() > 0)
        return;
    landscape_ = landscape;
    for (QWidget* part : std::initializer_list<QWidget*>{birthCaption_, viewCaption_, birthButton_, viewButton_})
        datesGrid_->removeWidget(part);
    if (landscape) {
        // The captions stand apart above the dates, side by side; the remarkable days join the
        // person row, leaving the report the height of the window's lower part.
        datesGrid_->addWidget(birthCaption_, 0, 0);
        datesGrid_->addWidget(viewCaption_, 0, 1);
        datesGrid_->addWidget(birthButton_, 1, 0);
        datesGrid_->addWidget(viewButton_, 1, 1);
        bodyLayout_->removeWidget(daysButton_);
        personRow_->addWidget(daysButton_);
        daysButton_->setText(tr("Remarkable..."));
    } else {
        datesGrid_->addWidget(birthButton_, 0, 0, 1, 2);
        datesGrid_->addWidget(viewButton_, 1, 0, 1, 2);
        personRow_->removeWidget(daysButton_);
        bodyLayout_->addWidget(daysButton_);
        daysButton_->setText(tr("Remarkable days..."));
    }
    birthCaption_->setVisible(landscape);
    viewCaption_->setVisible(landscape);
    showDates();
}

void BiorhythmView::openWindow()
{
    if (model_)
        return;
    model_ = std::make_unique<Biorhythm>(folder_.path(), preferences_.rememberedDate, systemLocalTime);
    const ScreenFacts facts = ScreenFacts::of(window()->size());
    model_->setChartRect(BiorhythmChart::rectFor(facts.scale, facts.landscape || facts.square));
    chart_->setChart(&model_->chart());
    // Not modal to the program: the window keeps working meanwhile.
    const auto tell = [this, &facts](QMessageBox::Icon icon, const QString& title, const QString& text,
                                     const QString& name) {
        auto* box = new QMessageBox(icon, title, text, QMessageBox::Ok, this);
        box->setObjectName(name);
        setThemedStyleSheet(box, dialogStyleSheet(facts.scale));
        box->setAttribute(Qt::WA_DeleteOnClose);
        box->open();
    };
    if (model_->adviceMissing())
        tell(QMessageBox::Critical, tr("Error"), tr("Cannot open the data file."), QStringLiteral("bioAdviceMissing"));
    if (!model_->personsMessage().empty())
        tell(QMessageBox::Warning, QStringLiteral("Corvan"), QString::fromStdString(model_->personsMessage()),
             QStringLiteral("bioPersonsSetAside"));
    refresh();
}

void BiorhythmView::closeWindow()
{
    if (!model_)
        return;
    model_->save();
    if (model_->rememberedDate().isValid())
        preferences_.rememberedDate = model_->rememberedDate();
    chart_->setChart(nullptr);
    model_.reset();
}

DateOrder BiorhythmView::dateOrder() const
{
    return dateOrderOf(preferences_.outputFormat);
}

void BiorhythmView::refresh()
{
    if (!model_)
        return;
    model_->refresh(tickCount());
    chart_->update();
    report_->clear();
    report_->setHtml(toQString(model_->report()));
    showDates();
    showPersons();
}

void BiorhythmView::showDates()
{
    if (!model_)
        return;
    const DateOrder order = dateOrder();
    if (landscape_) {
        birthCaption_->setText(toQString(Biorhythm::kBirthCaption));
        birthButton_->setText(toQString(model_->birthText(order)));
        viewButton_->setText(toQString(model_->viewText(order)));
    } else {
        birthButton_->setText(toQString(model_->birthLabel(order)));
        viewButton_->setText(toQString(model_->viewLabel(order)));
    }
}

void BiorhythmView::showPersons()
{
    const QSignalBlocker blocker(persons_);
    persons_->clear();
    for (const BioPerson& person : model_->persons())
        persons_->addItem(toQString(person.name));
    persons_->setCurrentIndex(model_->selected());
    if (model_->selected() < 0)
        persons_->setEditText(QString());
    removeButton_->setEnabled(model_->selected() >= 0);
}

void BiorhythmView::setBirthDate(StoredDate date)
{
    if (model_ && model_->setBirthDate(date))
        refresh();
}

void BiorhythmView::setViewDate(StoredDate date)
{
    if (model_ && model_->setViewDate(date))
        refresh();
}

void BiorhythmView::chooseBirthDate()
{
    if (!model_)
        return;
    const StoredDate date = pickBioDate(tr("Select date of birth"), model_->birthDate(), dateOrder(), this);
    if (date.isValid() && QDate(date.year, date.month, date.day) > QDate::currentDate()) {
        auto* box = new QMessageBox(QMessageBox::Warning, tr("Biorhythm"),
                                    tr("A date of birth cannot lie in the future."), QMessageBox::Ok, this);
        box->setObjectName(QStringLiteral("bioFutureBirth"));
        box->setAttribute(Qt::WA_DeleteOnClose);
        box->open();
        return;
    }
    setBirthDate(date);
}

void BiorhythmView::chooseViewDate()
{
    if (!model_)
        return;
    setViewDate(pickBioDate(tr("Select a date to view"), model_->viewDate(), dateOrder(), this));
}

void BiorhythmView::openRemarkableDays()
{
    if (!model_)
        return;
    GoodBadDaysView dialog(model_->birthDate(), model_->viewDate(), dateOrder(), this);
    dialog.exec();
}

StoredDate pickBioDate(const QString& title, StoredDate start, DateOrder order, QWidget* parent)
{
    QDialog dialog(parent);
    dialog.setWindowTitle(title);
    if (parent)
        setThemedStyleSheet(&dialog, dialogStyleSheet(ScreenFacts::of(parent->window()->size()).scale));
    auto* edit = new QDateEdit(&dialog);
    edit->setObjectName(QStringLiteral("bioDatePicker"));
    edit->setCalendarPopup(true);
    edit->setMinimumDate(QDate(1, 1, 1));
    edit->setMaximumDate(QDate(9999, 12, 31));
    edit->setDisplayFormat(order == DateOrder::DayFirst ? QStringLiteral("d/M/yyyy") : QStringLiteral("M/d/yyyy"));
    edit->setDate(start.isValid() ? QDate(start.year, start.month, start.day) : QDate::currentDate());
    edit->installEventFilter(new TypedDateFilter(edit, order));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(edit);
    layout->addWidget(buttons);
    if (dialog.exec() != QDialog::Accepted)
        return StoredDate::invalid();
    const QDate date = edit->date();
    return StoredDate{date.year(), date.month(), date.day()};
}

GoodBadDaysView::GoodBadDaysView(StoredDate birth, StoredDate view, DateOrder order, QWidget* parent)
    : QDialog(parent), model_(birth, view), order_(order)
{
    setObjectName(QStringLiteral("goodBadDays"));
    setWindowTitle(tr("Remarkable days"));
    setModal(true);
    good_ = new QCheckBox(tr("Show good days"), this);
    good_->setObjectName(QStringLiteral("showGood"));
    good_->setChecked(model_.showGood());
    bad_ = new QCheckBox(tr("Show bad days"), this);
    bad_->setObjectName(QStringLiteral("showBad"));
    bad_->setChecked(model_.showBad());
    years_ = new QComboBox(this);
    years_->setObjectName(QStringLiteral("years"));
    for (int years : kRemarkableYearChoices)
        years_->addItem(QString::asprintf("%i", years));
    years_->setCurrentIndex(model_.yearIndex());
    list_ = new QTreeWidget(this);
    list_->setObjectName(QStringLiteral("days"));
    list_->setRootIsDecorated(false);
    list_->setHeaderLabels({tr("Date"), tr("Biorhythm")});
    list_->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* boxes = new QGridLayout;
    boxes->setContentsMargins(0, 0, 0, 0);
    boxes->addWidget(good_, 0, 0);
    boxes->addWidget(bad_, 0, 1);
    boxes->setColumnStretch(2, 1);
    auto* yearRow = new QHBoxLayout;
    auto* before = new QLabel(tr("for the next"), this);
    before->setObjectName(QStringLiteral("yearsBefore"));
    auto* after = new QLabel(tr("year(s)"), this);
    after->setObjectName(QStringLiteral("yearsAfter"));
    yearRow->addWidget(before);
    yearRow->addWidget(years_);
    yearRow->addWidget(after);
    yearRow->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(boxes);
    layout->addLayout(yearRow);
    layout->addWidget(list_, 1);
    layout->addWidget(buttons);
    boxes_ = boxes;
    connect(good_, &QCheckBox::toggled, this, [this](bool on) {
        model_.setShowGood(on);
        showRows();
    });
    connect(bad_, &QCheckBox::toggled, this, [this](bool on) {
        model_.setShowBad(on);
        showRows();
    });
    connect(years_, &QComboBox::currentIndexChanged, this, [this](int index) {
        model_.setYearIndex(index);
        showRows();
    });
    if (parent)
        fitWindow(parent->window());
    showRows();
}

void GoodBadDaysView::fitWindow(QWidget* window)
{
    const ScreenFacts facts = ScreenFacts::of(window->size());
    setThemedStyleSheet(this, dialogStyleSheet(facts.scale));
    ensurePolished();
    // The two boxes side by side only where both fit; else one above the other.
    const int margins = layout()->contentsMargins().left() + layout()->contentsMargins().right();
    const bool sideBySide =
        good_->sizeHint().width() + bad_->sizeHint().width() + boxes_->horizontalSpacing() + margins <= window->width();
    boxes_->removeWidget(bad_);
    boxes_->addWidget(bad_, sideBySide ? 0 : 1, sideBySide ? 1 : 0);
    list_->header()->setSectionResizeMode(1, QHeaderView::Stretch);
    list_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // The window's size exactly: the dialog covers the window it belongs to.
    setFixedSize(window->size());
}

void GoodBadDaysView::showRows()
{
    list_->clear();
    const QIcon goodIcon = dayIcon(true);
    const QIcon badIcon = dayIcon(false);
    QList<QTreeWidgetItem*> items;
    for (const RemarkableDay& day : model_.rows()) {
        auto* item = new QTreeWidgetItem({toQString(remarkableDateText(day, order_)), toQString(day.cycles)});
        item->setIcon(0, day.good ? goodIcon : badIcon);
        item->setToolTip(1, item->text(1));  // three names do not fit a narrow screen
        items.append(item);
    }
    list_->addTopLevelItems(items);
}
