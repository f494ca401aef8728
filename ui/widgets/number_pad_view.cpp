#include "number_pad_view.h"

#include <QEvent>
#include <QLineEdit>
#include <QValidator>

#include <algorithm>

#include "skin_pixmaps.h"
#include "ui_text.h"

using toolKeypads::FieldKind;
using toolKeypads::NumberPadFace;
using toolKeypads::NumberPadKey;

bool applyNumberPadKey(QLineEdit* field, const NumberPadFace& key, FieldKind kind)
{
    if (field == nullptr || field->isReadOnly() || !field->isEnabled() || key.key == NumberPadKey::Ok)
        return false;
    // A selection is what typing replaces; C and the sign of a number act on the whole field.
    const bool replacesSelection =
        key.key != NumberPadKey::Clear && !(key.key == NumberPadKey::Sign && kind == FieldKind::Number);
    if (replacesSelection && field->hasSelectedText()) {
        field->del();
        if (key.key == NumberPadKey::Delete)
            return true;
    }
    const toolKeypads::FieldText before{fromQString(field->text()), static_cast<std::size_t>(field->cursorPosition())};
    const toolKeypads::FieldText after = toolKeypads::applyNumberPadKey(before, key, kind);
    if (after.text == before.text) {
        field->setCursorPosition(static_cast<int>(after.cursor));
        return true;
    }
    QString text = toQString(after.text);
    if (const QValidator* validator = field->validator()) {
        int position = static_cast<int>(after.cursor);
        if (validator->validate(text, position) == QValidator::Invalid)
            return false;
    }
    // Through the editing calls, not setText: the change is an edit (textEdited), undoable.
    field->selectAll();
    field->insert(text);
    field->setCursorPosition(
        static_cast<int>(std::min<std::size_t>(after.cursor, static_cast<std::size_t>(text.size()))));
    return true;
}

NumberPadView::NumberPadView(QWidget* parent)
    : KeypadView(toolKeypads::kNumberPadGrid.columns, toolKeypads::kNumberPadGrid.rows, parent)
{
    setObjectName(QStringLiteral("numberPad"));
    // Digits go in once per press; only DEL repeats while held, as the calculator's delete does.
    setHold(false, 0);
    setRepeats([](int position) {
        return position >= 0 && position < static_cast<int>(toolKeypads::kNumberPadKeys.size()) &&
               toolKeypads::kNumberPadKeys[static_cast<std::size_t>(position)].key == NumberPadKey::Delete;
    });
    connect(this, &KeypadView::keyPressed, this, [this](int position, bool) { pressPosition(position); });
}

void NumberPadView::setSkin(const SkinPixmaps& skin, std::string_view buttonsKey)
{
    setImages(skin.image(buttonsKey), skin.image("LargeFonts"));
}

void NumberPadView::addField(QLineEdit* field, FieldKind kind)
{
    fields_.push_back({field, kind});
    field->installEventFilter(this);
    if (!target_)
        target_ = field;
}

void NumberPadView::setTarget(QLineEdit* field)
{
    target_ = field;
}

FieldKind NumberPadView::kindOf(const QLineEdit* field) const
{
    for (const Field& f : fields_) {
        if (f.edit == field)
            return f.kind;
    }
    return FieldKind::Number;
}

void NumberPadView::pressPosition(int position)
{
    if (position < 0 || position >= static_cast<int>(toolKeypads::kNumberPadKeys.size()))
        return;
    const NumberPadFace& key = toolKeypads::kNumberPadKeys[static_cast<std::size_t>(position)];
    if (key.key == NumberPadKey::Ok) {
        Q_EMIT okPressed();
        return;
    }
    QLineEdit* field = target_;
    // A hidden field (another kind of equation, a page not shown) is not what the user sees.
    if (field == nullptr || !field->isVisibleTo(window()))
        return;
    // The field shows its cursor where the keys go.
    if (!field->hasFocus() && isVisible())
        field->setFocus(Qt::OtherFocusReason);
    applyNumberPadKey(field, key, kindOf(field));
}

bool NumberPadView::eventFilter(QObject* watched, QEvent* event)
{
    // A click on a field chooses it even before the window has the focus to give it.
    if (event->type() == QEvent::FocusIn || event->type() == QEvent::MouseButtonPress) {
        for (const Field& f : fields_) {
            if (f.edit == watched)
                target_ = f.edit;
        }
    }
    return KeypadView::eventFilter(watched, event);
}
