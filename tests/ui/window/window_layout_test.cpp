// Every category, tool panel and dialog of the screenshot gallery, at every gallery size, shown
// as a person sees it: nothing outside its parent, no inputs on top of each other, no text cut
// off. First the check itself, on windows built to have each fault.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>

#include <functional>
#include <memory>

#include "gallery_scenes.h"
#include "layout_check.h"

// Names the size in a failing case's parameters.
void PrintTo(const QSize& size, std::ostream* out)
{
    *out << size.width() << "x" << size.height();
}

namespace {

struct FaultCase {
    const char* name;
    QString expected;  // the start of the one fault reported, or empty for none
    std::function<void(QWidget&)> build;
};

QLabel* labelAt(QWidget& window, const QString& text, QRect geometry)
{
    auto* label = new QLabel(text, &window);
    label->setObjectName(QStringLiteral("label"));
    label->setGeometry(geometry);
    return label;
}

TEST(LayoutCheck, ReportsEachKindOfFaultOnce)
{
    const FaultCase cases[] = {
        {"a label with room", QString(), [](QWidget& w) { labelAt(w, QStringLiteral("Rate"), QRect(0, 0, 150, 30)); }},
        {"a label too narrow", QStringLiteral("text cut off: QLabel label"),
         [](QWidget& w) { labelAt(w, QStringLiteral("Annual interest rate (RATE)"), QRect(0, 0, 40, 30)); }},
        {"a label too short", QStringLiteral("text cut off: QLabel label"),
         [](QWidget& w) { labelAt(w, QStringLiteral("Rate"), QRect(0, 0, 150, 4)); }},
        {"elided text, no tooltip", QStringLiteral("elided without a tooltip"),
         [](QWidget& w) { labelAt(w, QStringLiteral("Gen\u2026"), QRect(0, 0, 150, 30)); }},
        {"elided text, with a tooltip", QString(),
         [](QWidget& w) {
             labelAt(w, QStringLiteral("Gen\u2026"), QRect(0, 0, 150, 30))->setToolTip(QStringLiteral("General"));
         }},
        {"a child past the edge", QStringLiteral("outside its parent: QLabel label"),
         [](QWidget& w) { labelAt(w, QStringLiteral("Rate"), QRect(120, 0, 150, 30)); }},
        {"two fields on top of each other", QStringLiteral("overlap: QLineEdit"),
         [](QWidget& w) {
             (new QLineEdit(&w))->setGeometry(0, 0, 100, 24);
             (new QLineEdit(&w))->setGeometry(50, 10, 100, 24);
         }},
        {"two fields side by side", QString(),
         [](QWidget& w) {
             (new QLineEdit(&w))->setGeometry(0, 0, 100, 24);
             (new QLineEdit(&w))->setGeometry(100, 0, 100, 24);
         }},
        {"a button too narrow", QStringLiteral("caption cut off: QPushButton"),
         [](QWidget& w) { (new QPushButton(QStringLiteral("Calculate"), &w))->setGeometry(0, 0, 30, 30); }},
        {"a tab too narrow", QStringLiteral("tab caption cut off: QTabBar"),
         [](QWidget& w) {
             auto* tabs = new QTabBar(&w);
             tabs->setElideMode(Qt::ElideRight);
             tabs->setExpanding(false);
             for (const char* page : {"General", "Categories", "Sounds", "Skins", "Modes"})
                 tabs->addTab(QString::fromLatin1(page));
             tabs->setGeometry(0, 0, 200, 30);
         }},
    };
    for (const FaultCase& fault : cases) {
        SCOPED_TRACE(fault.name);
        QWidget window;
        window.resize(200, 100);
        fault.build(window);
        window.show();
        QCoreApplication::processEvents();
        const QStringList found = layoutFaults(window, QSize(200, 100));
        if (fault.expected.isEmpty()) {
            EXPECT_TRUE(found.isEmpty()) << found.join(QLatin1Char('\n')).toStdString();
        } else {
            ASSERT_FALSE(found.isEmpty());
            EXPECT_TRUE(found.front().startsWith(fault.expected)) << found.join(QLatin1Char('\n')).toStdString();
        }
    }
}

TEST(LayoutCheck, AWindowLargerThanItsScreenIsAFault)
{
    QWidget window;
    window.resize(300, 200);
    EXPECT_TRUE(layoutFaults(window, QSize(300, 200)).isEmpty());
    EXPECT_EQ(layoutFaults(window, QSize(240, 320)).size(), 1);
    EXPECT_EQ(layoutFaults(window, QSize(320, 150)).size(), 1);
}

// ---- Every window of the gallery at every size ----

class GalleryWindow : public ::testing::TestWithParam<std::tuple<int, QSize>> {};

TEST_P(GalleryWindow, IsWholeOnItsScreen)
{
    const auto [index, size] = GetParam();
    const GalleryScene scene = galleryScenes()[static_cast<std::size_t>(index)];
    const std::unique_ptr<StagedScene> staged = scene.stage(std::filesystem::path(CORVAN_SOURCE_DATA_DIR), size);
    for (const QString& fault : layoutFaults(staged->window(), size))
        ADD_FAILURE() << scene.title.toStdString() << " at " << sizeName(size).toStdString() << ": "
                      << fault.toStdString();
}

std::string sceneTestName(const ::testing::TestParamInfo<std::tuple<int, QSize>>& info)
{
    const auto [index, size] = info.param;
    QString name = galleryScenes()[static_cast<std::size_t>(index)].name + QLatin1Char('_') + sizeName(size);
    return name.replace(QLatin1Char('-'), QLatin1Char('_')).toStdString();
}

INSTANTIATE_TEST_SUITE_P(AllSizes, GalleryWindow,
                         ::testing::Combine(::testing::Range(0, static_cast<int>(galleryScenes().size())),
                                            ::testing::ValuesIn(kGallerySizes)),
                         sceneTestName);

}  // namespace
