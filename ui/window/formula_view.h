#pragma once

#include <QImage>
#include <QString>
#include <QWidget>

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "formula_renderer.h"
#include "tool_keypads.h"
#include "variable_slots.h"

class KeypadView;
class SkinPixmaps;

// The typeset view of the current line: the formula drawn by the renderer, black on light
// grey, with the skin's "FormulaButtons" (Small, Medium, Large, Close) under it. Rendering runs
// on a thread of its own: typing never waits for it, and a line typed while another is being
// drawn replaces it, so only the newest line is ever drawn. When nothing can be drawn the view
// says why (an empty or overlong line, no renderer installed, a formula too large). A formula
// wider than the view shows the part around the cursor.
class FormulaView : public QWidget {
    Q_OBJECT
public:
    explicit FormulaView(QWidget* parent = nullptr);
    ~FormulaView() override;

    // The size buttons' image, and the screen scale that the size index follows.
    void setSkin(const SkinPixmaps& skin, int scale);
    // Another renderer than mimeTeX on PATH (tests).
    void setRenderer(FormulaRenderer renderer);

    // Typesets an input line (engine text) whose cursor stands at cursorShare (0 at the start,
    // 1 at the end) of it, its variables shown with their values in slots. The view keeps a copy
    // of those values, which a new size draws again. Returns at once; the drawing follows.
    void showLine(std::u16string_view engineText, const VariableSlots& slots, double cursorShare);
    // The same with the values last given: while "=" computes, the engine cannot be read.
    void showLine(std::u16string_view engineText, double cursorShare);

    toolKeypads::FormulaKey size() const { return size_; }
    void setSize(toolKeypads::FormulaKey size);
    // The renderer's size index for the chosen size at the current scale.
    int sizeIndex() const;

    // What the view says in place of a drawing; empty while a drawing is shown.
    const QString& message() const { return message_; }
    const QImage& image() const { return image_; }
    // Whether a line is still being drawn.
    bool busy() const;
    // Left edge, in image pixels, of the part of a wide formula that is shown.
    int scrollOffset() const { return scrollOffset_; }

    static QString messageFor(FormulaRenderStatus status);

Q_SIGNALS:
    void closeClicked();
    // A drawing (or the reason for none) of the newest line arrived.
    void drawn();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    struct Request {
        std::uint64_t serial = 0;
        std::string buffer;
        int sizeIndex = 2;
    };
    void work();
    void receive(std::uint64_t serial, FormulaRenderResult result);
    void placeButtons();
    QRect formulaArea() const;
    void updateScroll();
    // Asks for the drawing of the shown line at the current size.
    void draw();
    void rerender();

    KeypadView* buttons_;
    toolKeypads::FormulaKey size_ = toolKeypads::FormulaKey::Medium;
    int scale_ = 1;
    double cursorShare_ = 1.0;
    QImage image_;
    QString message_;
    int scrollOffset_ = 0;
    // The line last shown and its variables' values, so that a new size draws it again.
    std::optional<std::u16string> lineText_;
    VariableSlots lineSlots_;
    // The renderer buffer last asked for: the same line again only moves the view.
    std::string lastBuffer_;

    // Shared with the rendering thread.
    mutable std::mutex mutex_;
    std::condition_variable wake_;
    FormulaRenderer renderer_;
    std::optional<Request> pending_;
    std::uint64_t newestSerial_ = 0;
    bool working_ = false;
    bool stopping_ = false;
    std::thread worker_;
};
