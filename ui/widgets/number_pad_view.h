#pragma once

#include <QLineEdit>
#include <QPointer>

#include <string_view>
#include <vector>

#include "keypad_view.h"
#include "tool_keypads.h"

class SkinPixmaps;

// The on-screen number pad of the tool panels, drawn from the skin ("LargeButtons" and
// "LargeFonts"). It types into the panel's fields as a keyboard would: the field that last had
// the focus takes the keys (the pad itself never takes the focus), read-only fields and a
// field's validator are respected, and each edit reaches the field's textEdited signal, so
// the panel's model sees it like typing. OK is the panel's own action.
class NumberPadView : public KeypadView {
    Q_OBJECT
public:
    explicit NumberPadView(QWidget* parent = nullptr);

    // The faces from `buttonsKey` ("LargeButtons", or "NumberKeyboardFunctions" for the
    // equation solver) and the labels from "LargeFonts".
    void setSkin(const SkinPixmaps& skin, std::string_view buttonsKey = "LargeButtons");

    // A field the pad may type into; the first one added is the target until another gets
    // the focus.
    void addField(QLineEdit* field, toolKeypads::FieldKind kind = toolKeypads::FieldKind::Number);
    QLineEdit* target() const { return target_; }
    void setTarget(QLineEdit* field);
    // The key at a grid position: what a press there does.
    void pressPosition(int position);

Q_SIGNALS:
    void okPressed();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    toolKeypads::FieldKind kindOf(const QLineEdit* field) const;

    struct Field {
        QPointer<QLineEdit> edit;
        toolKeypads::FieldKind kind;
    };
    std::vector<Field> fields_;
    QPointer<QLineEdit> target_;
};

// Applies one pad key to a field as typing would (see NumberPadView); false when the field
// refused it (read-only, disabled, or the validator says no).
bool applyNumberPadKey(QLineEdit* field, const toolKeypads::NumberPadFace& key, toolKeypads::FieldKind kind);
