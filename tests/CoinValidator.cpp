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

QStringList problems(const QString &path, const QString &searchFolder,
                     const std::function<void(SoNode *)> &inspect)
{
    initialise();
    QStringList messages;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {QStringLiteral("cannot read %1: %2").arg(path, file.errorString())};
    const QByteArray vrml = file.readAll();
    // Every kind of Coin error has a handler of its own.
    const Capture<SoError> errors(&messages);
    const Capture<SoDebugError> debugErrors(&messages);
    const Capture<SoReadError> readErrors(&messages);
    const Capture<SoMemoryError> memoryErrors(&messages);

    const QByteArray folder = searchFolder.toUtf8();
    SoInput::addDirectoryFirst(folder.constData());
    {
        SoInput input;
        input.setBuffer(vrml.constData(), size_t(vrml.size()));
        SoVRMLGroup *scene = SoDB::readAllVRML(&input);
        if (scene) {
            scene->ref();
            if (inspect)
                inspect(scene);
            scene->unref();
        } else {
            messages.prepend(QStringLiteral("Coin built no scene"));
        }
    }
    SoInput::removeDirectory(folder.constData());
    return messages;
}

} // namespace CoinValidator
