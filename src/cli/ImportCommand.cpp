#include "cli/Commands.h"

#include "core/files/ProgramFolders.h"
#include "core/model/NumberText.h"
#include "scene/ImportReader.h"
#include "scene/ObjectCheck.h"
#include "scene/ObjectImport.h"

#include <QFileInfo>

namespace Cli {

namespace {

struct ImportRequest {
    QString model;
    QString name; // empty: the model file's base name
    ModelImport::Options options;
};

// The request, or the reason the arguments make none.
std::optional<ImportRequest> parse(const QStringList &arguments, QString &problem)
{
    ImportRequest request;
    for (int i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments[i];
        if (!argument.startsWith(QLatin1String("--"))) {
            if (!request.model.isEmpty()) {
                problem = QStringLiteral("one model at a time");
                return std::nullopt;
            }
            request.model = argument;
            continue;
        }
        if (i + 1 == arguments.size()) {
            problem = QStringLiteral("%1 needs a value").arg(argument);
            return std::nullopt;
        }
        const QString &value = arguments[++i];
        if (argument == QLatin1String("--name")) {
            request.name = value;
        } else if (argument == QLatin1String("--size")) {
            const std::optional<double> size = NumberText::toDouble(value);
            if (!size || !(*size > 0) || *size > 100) {
                problem = QStringLiteral("the size must be a number of map units above 0 and "
                                         "at most 100, not \"%1\"")
                              .arg(value);
                return std::nullopt;
            }
            request.options.size = size;
        } else if (argument == QLatin1String("--up") &&
                   (value == QLatin1String("y") || value == QLatin1String("z"))) {
            request.options.up =
                value == QLatin1String("z") ? ModelImport::UpAxis::Z : ModelImport::UpAxis::Y;
        } else {
            problem = QStringLiteral("unknown option \"%1 %2\"").arg(argument, value);
            return std::nullopt;
        }
    }
    if (request.model.isEmpty())
        problem = QStringLiteral("no model file given");
    if (!problem.isEmpty())
        return std::nullopt;
    return request;
}

} // namespace

// Imports a model into the user's library, as the editor's Import Object
// does, and prints the new entry's name. Sizes are in map units (12 feet).
int importModel(const QStringList &arguments, Io io)
{
    QString problem;
    const std::optional<ImportRequest> request = parse(arguments, problem);
    if (!request) {
        printError(io.err, problem + QStringLiteral("; usage: lotwright-cli import MODEL "
                                                    "[--name NAME] [--size UNITS] [--up y|z]"));
        return Usage;
    }
    const QString name =
        request->name.isEmpty() ? QFileInfo(request->model).completeBaseName() : request->name;
    const ProgramFolders folders = programFolders();
    const LibraryLoad library = loadLibrary(folders.program, folders.userObjects);
    if (const QString refused = UserLibrary::nameProblem(name, library.Shapes);
        !refused.isEmpty()) {
        printError(io.err, refused);
        return Failure;
    }
    const ModelImport::Converted converted = ModelImport::convertModel(
        loadModelFile(request->model), request->options, QFileInfo(request->model).fileName());
    if (!converted.ok()) {
        printError(io.err, converted.error);
        return Failure;
    }
    const UserLibrary::Added added =
        importObject(folders.userObjects, name, converted,
                     converted.round ? QStringLiteral("C") : QStringLiteral("R"),
                     converted.mapColor, library.Shapes);
    if (!added.ok()) {
        printError(io.err, added.error);
        return Failure;
    }
    for (const QString &note : converted.notes)
        printError(io.err, QStringLiteral("note: ") + note);
    io.out << added.entry.Name << '\n';
    return Success;
}

} // namespace Cli
