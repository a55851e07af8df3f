#include "cli/Commands.h"

#include "core/model/WorldFile.h"

namespace Cli {

// Loads a world and writes it back as the editor would save it, with the
// same zoom and scroll position.
int resave(const QStringList &arguments, Io io)
{
    const WorldRead read = WorldFile::load(arguments.at(0));
    if (!read.ok()) {
        printError(io.err, read.error);
        return Failure;
    }
    const Status saved = WorldFile::save(arguments.at(1), read.world, read.fractions);
    if (!saved) {
        printError(io.err, saved.error);
        return Failure;
    }
    return Success;
}

} // namespace Cli
