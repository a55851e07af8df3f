#include "scene/ObjectImport.h"

ObjectCheck checkConverted(const ModelImport::Converted &object)
{
    // The text as GetObjectCode gives it: the header line goes, its line end stays.
    const QString code = object.vrml.mid(object.vrml.indexOf(QLatin1Char('\r')));
    ObjectCheck check = checkObjectCodes({code}).at(0);
    if (!check.problem.isEmpty())
        check.problem =
            QStringLiteral("The object made of the model cannot be used: %1.").arg(check.problem);
    return check;
}

UserLibrary::Added addChecked(const QString &userFolder, const QString &name,
                              const ModelImport::Converted &object, const ObjectCheck &check,
                              const QString &mapShape, int32_t mapColor,
                              const std::vector<ShapeInfo> &library)
{
    if (const QString problem = UserLibrary::nameProblem(name, library); !problem.isEmpty())
        return {{}, problem};
    if (!check.problem.isEmpty())
        return {{}, check.problem};
    UserLibrary::Added added = UserLibrary::add(userFolder, name, object, mapShape, mapColor);
    added.entry.DefinedNames = check.definedNames;
    return added;
}

UserLibrary::Added importObject(const QString &userFolder, const QString &name,
                                const ModelImport::Converted &object, const QString &mapShape,
                                int32_t mapColor, const std::vector<ShapeInfo> &library)
{
    if (const QString problem = UserLibrary::nameProblem(name, library); !problem.isEmpty())
        return {{}, problem}; // before the check's time is spent
    return addChecked(userFolder, name, object, checkConverted(object), mapShape, mapColor,
                      library);
}
