#include "macro_editor.h"

#include <algorithm>

namespace {

constexpr std::size_t kMaxParameters = 255;

std::vector<std::u16string_view> splitNames(std::u16string_view params)
{
    std::vector<std::u16string_view> names;
    if (params.empty())
        return names;
    for (std::size_t start = 0;;) {
        const std::size_t comma = params.find(u',', start);
        names.push_back(params.substr(start, comma - start));
        if (comma == std::u16string_view::npos)
            return names;
        start = comma + 1;
    }
}

}  // namespace

std::u16string MacroEditor::rowName(int row)
{
    return {u'M', static_cast<char16_t>(u'a' + row)};
}

std::vector<std::u16string> MacroEditor::nameRows() const
{
    std::vector<std::u16string> rows;
    rows.reserve(kNameRows);
    for (int row = 0; row < kNameRows; ++row) {
        std::u16string text = rowName(row);
        if (macros_.indexOf(text))
            text += u" *";
        rows.push_back(std::move(text));
    }
    return rows;
}

int MacroEditor::selectedRow() const
{
    for (int row = 0; row < kNameRows; ++row) {
        if (rowName(row) == name_)
            return row;
    }
    return -1;
}

MacroLineText MacroEditor::open()
{
    return choose(macros_.count() == 0 ? rowName(0) : macros_.at(0).name);
}

MacroLineText MacroEditor::choose(std::u16string_view name)
{
    editing_ = true;
    name_ = name;
    const std::optional<std::size_t> index = macros_.indexOf(name);
    if (!index) {
        params_.clear();
        paramCount_ = 0;
        formula_.clear();
        rebuildHeader();
        return {};
    }
    const MacroRecord& macro = macros_.at(*index);
    params_ = macro.params;
    paramCount_ = macro.paramCount;
    formula_ = macro.formula;
    rebuildHeader();
    return {macro.displayText, macro.tokenMap};
}

void MacroEditor::useVariable(std::u16string_view variable)
{
    const std::vector<std::u16string_view> names = splitNames(params_);
    if (variable.empty() || names.size() >= kMaxParameters ||
        std::find(names.begin(), names.end(), variable) != names.end())
        return;
    if (!params_.empty())
        params_ += u',';
    params_ += variable;
    paramCount_ = static_cast<std::uint8_t>(names.size() + 1);
    rebuildHeader();
}

void MacroEditor::rebuildParameters(std::u16string_view displayText)
{
    std::u16string kept;
    std::size_t count = 0;
    for (std::u16string_view name : splitNames(params_)) {
        if (name.empty() || displayText.find(name) == std::u16string_view::npos || count == kMaxParameters)
            continue;
        if (count++ > 0)
            kept += u',';
        kept += name;
    }
    params_ = std::move(kept);
    paramCount_ = static_cast<std::uint8_t>(count);
    rebuildHeader();
}

bool MacroEditor::save(std::u16string_view displayText, std::u16string_view tokenMap)
{
    if (name_.empty())
        return false;
    MacroRecord macro;
    macro.name = name_;
    macro.params = params_;
    macro.paramCount = paramCount_;
    macro.formula = formula_;
    macro.displayText = displayText;
    macro.tokenMap = tokenMap;
    if (const std::optional<std::size_t> index = macros_.indexOf(name_)) {
        macros_.remove(*index);
        return macros_.insert(*index, macro);
    }
    return macros_.insert(macros_.count(), macro);
}

bool MacroEditor::remove()
{
    if (name_.empty())
        return false;
    const std::optional<std::size_t> index = macros_.indexOf(name_);
    return index && macros_.remove(*index);
}

void MacroEditor::rebuildHeader()
{
    header_ = name_;
    header_ += u'(';
    header_ += params_;
    header_ += u')';
}
