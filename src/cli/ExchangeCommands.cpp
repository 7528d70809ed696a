#include "Cli.h"

namespace granwise::cli {

QVector<Command> exchangeCommands()
{
    return {};
}

} // namespace granwise::cli
