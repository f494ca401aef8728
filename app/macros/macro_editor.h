#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "macro_library.h"

// What goes onto (or comes from) the display's current line while a macro is edited there.
struct MacroLineText {
    std::u16string displayText;
    std::u16string tokenMap;
};

// The macro window without drawing: the name list, the selected macro's fields (header,
// parameter list, formula) and the rules that keep them in step with the formula being edited
// on the display line. It edits the list it is given; the display is reached only through the
// texts that its functions take and return.
class MacroEditor {
public:
    static constexpr int kNameRows = 26;
    // The display's result text while a macro is edited.
    static constexpr std::u16string_view kEditingResultText = u"macro editing ...";

    explicit MacroEditor(MacroLibrary& macros) : macros_(macros) {}

    // "Ma".."Mz" for the rows 0..25.
    static std::u16string rowName(int row);
    // The 26 rows, each with " *" appended when a macro of that name exists.
    std::vector<std::u16string> nameRows() const;
    // The row of the selected name, or -1 when it is not one of the 26 (a name read from a file).
    int selectedRow() const;

    // Opening the window selects the first macro of the list, or "Ma" when the list is empty,
    // and starts editing. Returns the text for the display line.
    MacroLineText open();
    // Chooses a name: an existing macro is loaded (parameters, header "Ma(x,y)", formula, and
    // its display text with token map for the display line); any other name clears the fields,
    // shows the header "Mb()" and returns an empty line.
    MacroLineText choose(std::u16string_view name);
    // Ends editing (the window was left); the fields stay.
    void close() { editing_ = false; }
    bool editing() const { return editing_; }

    // A variable was used in the formula: it joins the parameter list unless it is already one
    // of its names. A list that already holds 255 names (the most the count can hold) takes no
    // more. Empty names are ignored.
    void useVariable(std::u16string_view variable);
    // The formula on the display line changed: every parameter name that no longer occurs in
    // displayText, as a plain substring (the same rule by which the expansion replaces it), is
    // dropped; empty names are dropped too. The others keep their order.
    void rebuildParameters(std::u16string_view displayText);
    void setFormula(std::u16string formula) { formula_ = std::move(formula); }

    // Stores the selected macro from the fields and the display line: a macro of that name is
    // replaced at its position, a new one is appended to the list. Refused (false) before a
    // name was chosen. The caller rebuilds the signatures afterwards.
    bool save(std::u16string_view displayText, std::u16string_view tokenMap);
    // Removes the macro of the selected name; false when there is none. The fields stay, so
    // saving again restores it.
    bool remove();

    const std::u16string& name() const { return name_; }
    const std::u16string& params() const { return params_; }
    std::uint8_t paramCount() const { return paramCount_; }
    const std::u16string& header() const { return header_; }
    const std::u16string& formula() const { return formula_; }

private:
    void rebuildHeader();

    MacroLibrary& macros_;
    std::u16string name_;
    std::u16string params_;
    std::uint8_t paramCount_ = 0;
    std::u16string header_;
    std::u16string formula_;
    bool editing_ = false;
};
