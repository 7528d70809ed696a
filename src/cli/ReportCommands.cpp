#include "Cli.h"

namespace granwise::cli {

QVector<Command> reportCommands()
{
    return {};
}

} // namespace granwise::cli
