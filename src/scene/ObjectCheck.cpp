#include "scene/ObjectCheck.h"

#include "core/files/ChildProcess.h"
#include "core/files/FileServices.h"
#include "core/library/UserLibrary.h"
#include "core/vrml/VRMLObjects.h"
#include "core/vrml/VrmlItems.h"
#include "scene/VrmlScene.h"

#include <Inventor/VRMLnodes/SoVRMLAudioClip.h>
#include <Inventor/VRMLnodes/SoVRMLImageTexture.h>
#include <Inventor/VRMLnodes/SoVRMLInline.h>
#include <Inventor/VRMLnodes/SoVRMLMovieTexture.h>
#include <Inventor/misc/SoProto.h>
#include <Inventor/nodes/SoGroup.h>

#include <QDataStream>
#include <QHash>
#include <QIODevice>
#include <QSet>

#include <optional>

namespace {

// The names of the definition the object is read in and of the node after it.
const QString Inside = QStringLiteral("Lotwright_object");
const QString After = QStringLiteral("Lotwright_after");
constexpr int SecondsAllowed = 5;

// What checkObjectCode says of a text, worked out in this process.
ObjectCheck readObject(const QString &code)
{
    QString probe = QStringLiteral("#VRML V2.0 utf8\r\n");
    Vrml::appendDefinition(probe, Inside, code);
    probe += QStringLiteral("DEF %1 WorldInfo { }\r\n").arg(After);
    const Scene scene = Scene::fromText(probe.toUtf8());
    if (!scene.ok())
        return {QStringLiteral("Coin cannot read it: %1")
                    .arg(scene.errors()
                             .value(0)
                             .section(QLatin1Char('\n'), 0, 0)
                             .remove(QLatin1String("Coin read error: "))),
                {}};
    // Anything else at the top means that the text closed the definition.
    SoGroup *root = scene.root();
    if (root->getNumChildren() != 2 || root->getChild(0)->getName().getString() != Inside ||
        root->getChild(1)->getName().getString() != After)
        return {QStringLiteral("its brackets do not match, so it would reach outside its place "
                               "in the world"),
                {}};
    ObjectCheck check;
    forEachNode(root->getChild(0), [&](SoNode *node) {
        if (node->isOfType(SoProto::getClassTypeId()))
            check.problem = QStringLiteral("it declares a PROTO, whose name would reach the rest "
                                           "of the world");
        else if (node->isOfType(SoVRMLInline::getClassTypeId()))
            check.problem = QStringLiteral("it inlines another file, which nobody checks");
        const QString name = QString::fromUtf8(node->getName().getString());
        if (!name.isEmpty() && name != Inside && !check.definedNames.contains(name))
            check.definedNames << name;
        const SoMFString *urls = nullptr;
        if (node->isOfType(SoVRMLImageTexture::getClassTypeId()))
            urls = &static_cast<SoVRMLImageTexture *>(node)->url;
        else if (node->isOfType(SoVRMLMovieTexture::getClassTypeId()))
            urls = &static_cast<SoVRMLMovieTexture *>(node)->url;
        else if (node->isOfType(SoVRMLAudioClip::getClassTypeId()))
            urls = &static_cast<SoVRMLAudioClip *>(node)->url;
        for (int i = 0; urls && i < urls->getNum(); ++i)
            if (const QString url = QString::fromUtf8((*urls)[i].getString());
                !url.isEmpty() && !check.namedFiles.contains(url))
                check.namedFiles << url;
    });
    return check;
}

// The child's side: each object's check, written as soon as it is known.
void checkInChild(const QStringList &codes, int out)
{
    for (const QString &code : codes)
        writeAll(out, streamed(readObject(code)));
}

// The whole records among the bytes read, into checks; what is left of
// them stays for the next piece.
void takeRecords(QByteArray &bytes, std::vector<ObjectCheck> &checks)
{
    QDataStream stream(bytes);
    for (;;) {
        ObjectCheck check;
        stream.startTransaction();
        stream >> check;
        if (!stream.commitTransaction())
            break;
        checks.push_back(std::move(check));
    }
    bytes.remove(0, qsizetype(stream.device()->pos()));
}

} // namespace

std::vector<ObjectCheck> checkObjectCodes(const QStringList &codes)
{
    // Once, before any child: an empty object read here leaves Coin set up
    // and its functions bound, which each child would otherwise do again.
    static const bool warm = readObject(QString()).problem.isEmpty();
    (void)warm;
    std::vector<ObjectCheck> checks;
    // One child reads them all; one that crashes or hangs names the object
    // it was reading, and a new child goes on with the next.
    while (qsizetype(checks.size()) < codes.size()) {
        const QStringList rest = codes.mid(qsizetype(checks.size()));
        QByteArray bytes;
        const ChildEnd end = runChild([&](int fd) { checkInChild(rest, fd); }, SecondsAllowed,
                                      [&](const QByteArray &piece) {
                                          bytes += piece;
                                          takeRecords(bytes, checks);
                                      });
        if (end == ChildEnd::NotStarted)
            break;
        if (end != ChildEnd::Finished && qsizetype(checks.size()) < codes.size())
            checks.push_back({end == ChildEnd::TimedOut
                                  ? QStringLiteral("Coin took more than %1 seconds to read it")
                                        .arg(SecondsAllowed)
                                  : QStringLiteral("Coin's reader crashed on it"),
                              {},
                              {}});
    }
    const QString failed = QStringLiteral("it cannot be checked: %1").arg(qt_error_string(errno));
    while (qsizetype(checks.size()) < codes.size())
        checks.push_back({failed, {}, {}});
    return checks;
}

QDataStream &operator<<(QDataStream &out, const ObjectCheck &check)
{
    return out << check.problem << check.definedNames << check.namedFiles;
}

QDataStream &operator>>(QDataStream &in, ObjectCheck &check)
{
    return in >> check.problem >> check.definedNames >> check.namedFiles;
}

LibraryLoad loadLibrary(const QString &programFolder, const QString &userFolder)
{
    LibraryLoad load = Init_Shapes(programFolder);
    if (!userFolder.isEmpty())
        UserLibrary::append(load, UserLibrary::load(userFolder));
    const auto pathOf = [&](const ShapeInfo &shape) {
        return Files::pathIn(objectFolder(programFolder, shape), shape.FileName);
    };
    // Each file once, however many entries name it.
    QHash<QString, ObjectCheck> checked;
    QStringList files, codes;
    for (const ShapeInfo &shape : load.Shapes) {
        const QString path = pathOf(shape);
        if (checked.contains(path))
            continue;
        const TextRead code = GetObjectCode(programFolder, shape);
        checked.insert(path, {code.error, {}, {}});
        if (code.ok()) {
            files << path;
            codes << code.text;
        }
    }
    const std::vector<ObjectCheck> checks = checkObjectCodes(codes);
    for (qsizetype i = 0; i < files.size(); ++i)
        checked[files[i]] = checks[size_t(i)];

    std::vector<ShapeInfo> kept;
    QSet<QString> reported;
    for (ShapeInfo &shape : load.Shapes) {
        const QString path = pathOf(shape);
        const ObjectCheck &check = checked[path];
        if (check.problem.isEmpty()) {
            shape.DefinedNames = check.definedNames;
            shape.NamedFiles = check.namedFiles;
            kept.push_back(std::move(shape));
        } else if (!reported.contains(path)) {
            reported.insert(path);
            load.warnings << QStringLiteral("The object %1 is left out: %2")
                                 .arg(quoted(shape.FileName), check.problem);
        }
    }
    load.Shapes = std::move(kept);
    return load;
}
