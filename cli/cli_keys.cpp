#include "cli_keys.h"

#include <ostream>

#include "calculator.h"
#include "printable_text.h"

int runKeys(const CliOptions& options, std::ostream& out)
{
    Calculator frame(options.folder);
    frame.start();
    if (options.output)
        frame.preferences().outputFormat = *options.output;
    frame.switchCategory(options.category);
    if (options.mode)
        frame.setPreferredInputMode(*options.mode);
    for (int code : *options.keys)
        frame.pressKey(code);
    out << printableText(frame.display().getInputText()) << "\n" << printableText(frame.display().resultText()) << "\n";
    return 0;
}
