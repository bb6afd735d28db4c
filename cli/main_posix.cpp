#include "cli/cli_main.h"
#include "i18n/messages.h"
#include "runtime/system.h"

int main(int argc, char *argv[])
{
    lumvrex::guardStandardStreams();
    lumvrex::startMessages();
    // File names and arguments are bytes here; the core takes them as UTF-8.
    return lumvrex::runCli(std::vector<std::string>(argv + 1, argv + argc));
}
