// The command line of corvan-cli: the input's NUL-separated parts are the arguments.
#include "cli_options.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::string_view rest = fuzz::bytesOf(data, size);
    std::vector<std::string> arguments;
    while (!rest.empty() && arguments.size() < 64)
        arguments.emplace_back(fuzz::takeUntil(rest, std::string_view("\0", 1)));
    const CliParse parse = parseCliOptions(arguments);
    fuzz::check(parse.options.has_value() != !parse.error.empty(),
                "a command line is either read or refused with a reason");
    return 0;
}
