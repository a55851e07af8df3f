#include "scene/ObjectImport.h"

#include "scene/ObjectCheck.h"

UserLibrary::Added importObject(const QString &userFolder, const QString &name,
                                const ModelImport::Converted &object, const QString &mapShape,
                                int32_t mapColor, const std::vector<ShapeInfo> &library)
{
    if (const QString problem = UserLibrary::nameProblem(name, library); !problem.isEmpty())
        return {{}, problem};
    // The text as GetObjectCode gives it: the header line goes, its line end stays.
    const QString code = object.vrml.mid(object.vrml.indexOf(QLatin1Char('\r')));
    const ObjectCheck check = checkObjectCodes({code}).at(0);
    if (!check.problem.isEmpty())
        return {
            {},
            QStringLiteral("The object made of the model cannot be used: %1.").arg(check.problem)};
    UserLibrary::Added added = UserLibrary::add(userFolder, name, object, mapShape, mapColor);
    added.entry.DefinedNames = check.definedNames;
    return added;
}
