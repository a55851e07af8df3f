// make-samples: writes the sample worlds with their pictures and music.
//   make-samples samples

#include "GifWriter.h"
#include "MidiWriter.h"
#include "SampleMusic.h"
#include "SamplePictures.h"
#include "SampleWorlds.h"
#include "WavWriter.h"

#include "core/files/FileServices.h"
#include "core/model/WorldFile.h"

#include <QBuffer>
#include <QDir>
#include <QGuiApplication>
#include <QLocale>

#include <cstdio>

namespace {

bool report(const Status &status, const QString &path)
{
    if (!status.ok()) {
        std::fprintf(stderr, "make-samples: %s\n", qPrintable(status.error));
        return false;
    }
    std::printf("%s\n", qPrintable(path));
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen"); // fonts for the pictures, no screen
    QGuiApplication app(argc, argv);
    if (app.arguments().size() != 2) {
        std::fprintf(stderr, "usage: make-samples FOLDER\n");
        return 2;
    }
    // World files hold numbers in the user's format; the samples use full stops.
    QLocale::setDefault(QLocale::c());

    const QDir folder(app.arguments()[1]);
    for (const char *sub : {"pictures", "music"}) {
        if (!QDir().mkpath(folder.filePath(QLatin1String(sub)))) {
            std::fprintf(stderr, "make-samples: cannot create %s\n",
                         qPrintable(folder.filePath(QLatin1String(sub))));
            return 1;
        }
    }

    for (const SamplePictures::Picture &picture : SamplePictures::all()) {
        const QString path = folder.filePath(QStringLiteral("pictures/") + picture.fileName);
        const QByteArray bytes =
            picture.fileName.endsWith(QLatin1String(".gif")) ? Gif::encode(picture.image) : [&] {
                QByteArray jpeg;
                QBuffer buffer(&jpeg);
                buffer.open(QIODevice::WriteOnly);
                picture.image.save(&buffer, "JPG", 85);
                return jpeg;
            }();
        if (!report(Files::writeBytes(path, bytes), path))
            return 1;
    }

    // The gallery plays the WAV file (browsers cannot play MIDI); the MIDI file
    // of the same tune is there for worlds made for desktop VRML viewers.
    const Midi::Song tune = SampleMusic::galleryTune();
    const QString midi = folder.filePath(QStringLiteral("music/gallery.mid"));
    const QString wav = folder.filePath(QStringLiteral("music/gallery.wav"));
    constexpr int SampleRate = 22050;
    if (!report(Files::writeBytes(midi, Midi::encode(tune)), midi) ||
        !report(Files::writeBytes(wav, Wav::encode(SampleMusic::render(tune, SampleRate),
                                                   SampleRate)),
                wav))
        return 1;

    // Each sample opens zoomed and scrolled onto what it shows.
    struct Sample {
        const char *name;
        World world;
        int32_t zoom;
        ScrollFractions view;
    };
    const Sample samples[] = {
        {"park.lwf", SampleWorlds::park(), 2, {0.8, 0.5}},
        {"gallery.lwf", SampleWorlds::gallery(), 4, {0.57, 0.47}},
        {"street.lwf", SampleWorlds::street(), 1, {}},
    };
    for (const Sample &sample : samples) {
        World world = sample.world;
        world.Zoom = sample.zoom;
        const QString path = folder.filePath(QLatin1String(sample.name));
        if (!report(WorldFile::save(path, world, sample.view), path))
            return 1;
    }
    return 0;
}
