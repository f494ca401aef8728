#include "time_calculator.h"

namespace {
constexpr std::size_t kTimeNumberCells = CTimeCtrl::kCellCount / 2;
}

CTimeWnd::CTimeWnd() : focus_({kTimeNumberCells, kTimeNumberCells, kTimeNumberCells}) {}

std::optional<std::u16string> CTimeWnd::computeInterval()
{
    const CTimeType difference = to_.value().Minus(from_.value());
    if (difference.IsNegative())
        return std::u16string(kFromAfterToMessage);
    interval_.show(difference);
    return std::nullopt;
}

void CTimeWnd::computeTo()
{
    to_.show(from_.value().Plus(interval_.value()));
}

std::optional<std::u16string> CTimeWnd::computeFrom()
{
    const CTimeType difference = to_.value().Minus(interval_.value());
    if (difference.IsNegative())
        return std::u16string(kFromAfterIntervalMessage);
    from_.show(difference);
    return std::nullopt;
}

CTimeCtrl* CTimeWnd::focusedCtrl()
{
    switch (focus_.field()) {
    case CalcField::From: return &from_;
    case CalcField::Interval: return &interval_;
    case CalcField::To: return &to_;
    case CalcField::None: break;
    }
    return nullptr;
}

void CTimeWnd::clearCell()
{
    if (CTimeCtrl* ctrl = focusedCtrl())
        ctrl->clearCell();
}

void CTimeWnd::typeDigit(char16_t digit)
{
    if (CTimeCtrl* ctrl = focusedCtrl())
        ctrl->typeDigit(digit);
}

void CTimeWnd::arrow(Arrow arrow)
{
    focus_.move(arrow);
    if (CTimeCtrl* ctrl = focusedCtrl())
        ctrl->setCurrentPart(static_cast<CTimeCtrl::Part>(focus_.cell()));
}
