#include "cli/cli_main.h"
#include "runtime/standard_streams.h"

int main(int argc, char *argv[])
{
    lumvrex::guardStandardStreams();
    // File names and arguments are bytes here; the core takes them as UTF-8.
    return lumvrex::runCli(std::vector<std::string>(argv + 1, argv + argc));
}
