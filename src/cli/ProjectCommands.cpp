#include "Cli.h"

namespace granwise::cli {

QVector<Command> projectCommands()
{
    return {};
}

} // namespace granwise::cli
