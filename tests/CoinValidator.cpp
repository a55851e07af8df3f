#include "CoinValidator.h"

#include <Inventor/SbImage.h>
#include <Inventor/SoDB.h>
#include <Inventor/SoInput.h>
#include <Inventor/VRMLnodes/SoVRMLGroup.h>
#include <Inventor/errors/SoDebugError.h>
#include <Inventor/errors/SoMemoryError.h>
#include <Inventor/errors/SoReadError.h>

#include <QFile>
#include <QImage>

namespace CoinValidator {

namespace {

// Coin's own image loading needs a library this machine lacks; QImage reads
// GIF and JPEG. Coin wants the rows bottom up.
SbBool readImage(const SbString &fileName, SbImage *image, void *)
{
    QImage picture(QString::fromUtf8(fileName.getString()));
    if (picture.isNull())
        return FALSE;
    picture = picture.convertToFormat(QImage::Format_RGBA8888).mirrored();
    image->setValue(SbVec2s(short(picture.width()), short(picture.height())), 4,
                    picture.constBits());
    return TRUE;
}

void collect(const SoError *error, void *data)
{
    const QString message = QString::fromUtf8(error->getDebugString().getString()).trimmed();
    if (!(message.contains("SoVRMLSound") && message.contains("experimental")) &&
        !(message.contains("SoVRMLAudioClip") && message.contains("File not found")))
        static_cast<QStringList *>(data)->append(message);
}

// Routes one kind of Coin error to the collector while it lives.
template <class Error> class Capture {
public:
    explicit Capture(QStringList *messages) { Error::setHandlerCallback(collect, messages); }
    ~Capture() { Error::setHandlerCallback(previous, previousData); }
    Capture(const Capture &) = delete;
    Capture &operator=(const Capture &) = delete;

private:
    SoErrorCB *previous = Error::getHandlerCallback();
    void *previousData = Error::getHandlerData();
};

void initialise()
{
    [[maybe_unused]] static const bool done = [] {
        SoDB::init();
        SbImage::addReadImageCB(readImage, nullptr);
        return true;
    }();
}

} // namespace

QString Result::report() const
{
    QStringList lines = messages;
    if (!parsed)
        lines.prepend(QStringLiteral("Coin built no scene"));
    return lines.join(QLatin1Char('\n'));
}

Result checkFile(const QString &path, const QString &searchFolder)
{
    initialise();
    Result result;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        result.messages << QStringLiteral("cannot read %1: %2").arg(path, file.errorString());
        return result;
    }
    const QByteArray vrml = file.readAll();
    // Every kind of Coin error has a handler of its own.
    const Capture<SoError> errors(&result.messages);
    const Capture<SoDebugError> debugErrors(&result.messages);
    const Capture<SoReadError> readErrors(&result.messages);
    const Capture<SoMemoryError> memoryErrors(&result.messages);

    const QByteArray folder = searchFolder.toUtf8();
    SoInput::addDirectoryFirst(folder.constData());
    {
        SoInput input;
        input.setBuffer(vrml.constData(), size_t(vrml.size()));
        SoVRMLGroup *scene = SoDB::readAllVRML(&input);
        result.parsed = scene != nullptr;
        if (scene) {
            scene->ref();
            scene->unref();
        }
    }
    SoInput::removeDirectory(folder.constData());
    return result;
}

} // namespace CoinValidator
