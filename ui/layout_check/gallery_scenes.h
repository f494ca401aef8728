#pragma once

#include <QSize>
#include <QString>

#include <array>
#include <filesystem>
#include <functional>
#include <memory>
#include <vector>

class Calculator;
class CalculatorView;
class QWidget;

// Every category, tool panel and dialog the screenshot gallery renders, each staged as a first
// start on a fresh program folder shows it. The gallery draws them; the layout test checks them.

// The window sizes people run Corvan at: the small and the doubled screens, both ways round,
// and a large square one.
inline constexpr std::array<QSize, 5> kGallerySizes = {QSize(240, 320), QSize(320, 240), QSize(480, 640),
                                                       QSize(640, 480), QSize(1000, 1000)};

// A scene set up and shown; it owns the calculator window and whatever it opened.
class StagedScene {
public:
    virtual ~StagedScene() = default;
    // The top-level widget the scene is about: the calculator window or a dialog over it.
    virtual QWidget& window() = 0;
};

struct GalleryScene {
    QString name;   // file-name stem without the size, "category03"
    QString title;  // for people, "Statistics"
    std::function<std::unique_ptr<StagedScene>(const std::filesystem::path& shippedData, QSize size)> stage;
};

std::vector<GalleryScene> galleryScenes();

// The calculator window on a fresh program folder at the given size, with `prepare` done to it
// once it is shown.
std::unique_ptr<StagedScene> stageCalculator(const std::filesystem::path& shippedData, QSize size,
                                             const std::function<void(Calculator&, CalculatorView&)>& prepare);

QString sizeName(QSize size);
