#pragma once

#include <QComboBox>

// A combo box whose drop-down arrow is drawn to follow the font: a style sheet hides the
// style's own arrow, which keeps one size at every scale. The owner says where the arrow sits,
// as the distance of its centre from the right edge for a font of `px` pixels, so that it
// lands in the drop-down box its style sheet sets.
class DrawnArrowComboBox : public QComboBox {
public:
    using ArrowInset = qreal (*)(int px);

    DrawnArrowComboBox(ArrowInset arrowInset, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    ArrowInset arrowInset_;
};
