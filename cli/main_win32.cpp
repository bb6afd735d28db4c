#include "cli/cli_main.h"
#include "i18n/messages.h"
#include "runtime/system.h"

#include <fcntl.h>
#include <io.h>

#include <cstdio>

int wmain(int argc, wchar_t *argv[])
{
    lumvrex::guardStandardStreams();
    lumvrex::startMessages();
    // Scripts are bytes: no CR before every LF on standard output or input.
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stdin), _O_BINARY);
    std::vector<std::string> arguments;
    for (int i = 1; i < argc; ++i)
        arguments.push_back(lumvrex::utf8FromWide(argv[i]));
    return lumvrex::runCli(arguments);
}
