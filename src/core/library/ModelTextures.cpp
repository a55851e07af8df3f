#include "core/library/ModelTextures.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>

#include <algorithm>
#include <optional>

namespace ModelTextures {

namespace {

Prepared refused(const QString &problem) { return {{}, 0, problem}; }

uint32_t averageOf(const QImage &image)
{
    const QImage small = image.convertToFormat(QImage::Format_ARGB32)
                             .scaled(8, 8, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    qint64 sum[3] = {0, 0, 0};
    for (int y = 0; y < small.height(); ++y)
        for (int x = 0; x < small.width(); ++x) {
            const QRgb p = small.pixel(x, y);
            sum[0] += qRed(p);
            sum[1] += qGreen(p);
            sum[2] += qBlue(p);
        }
    const qint64 n = qint64(small.width()) * small.height();
    return n > 0 ? qRgb(int(sum[0] / n), int(sum[1] / n), int(sum[2] / n)) : qRgb(204, 204, 204);
}

QByteArray encoded(const QImage &image, const char *format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format, 90);
    return bytes;
}

// The file's bytes when it lies inside the model's folder and is small enough.
std::optional<QByteArray> readInside(const QString &path, const QString &modelFolder,
                                     QString &problem)
{
    const QFileInfo file(path);
    const QString canonical = file.canonicalFilePath(); // links resolved: none leads out
    if (canonical.isEmpty()) {
        problem = QStringLiteral("it is not found");
        return std::nullopt;
    }
    if (!canonical.startsWith(modelFolder + QLatin1Char('/'))) {
        problem = QStringLiteral("it lies outside the model's folder");
        return std::nullopt;
    }
    if (!file.isFile() || file.size() > ModelImport::MaxTextureBytes) {
        problem = file.isFile() ? QStringLiteral("it is larger than %1 MB")
                                      .arg(ModelImport::MaxTextureBytes / (1024 * 1024))
                                : QStringLiteral("it is not an ordinary file");
        return std::nullopt;
    }
    QFile in(canonical);
    if (!in.open(QIODevice::ReadOnly)) {
        problem = in.errorString();
        return std::nullopt;
    }
    return in.readAll();
}

} // namespace

Prepared prepare(const ModelTexture &texture, const QString &modelFolder)
{
    QString problem;
    QByteArray bytes = texture.embedded;
    if (bytes.isEmpty()) {
        std::optional<QByteArray> read = readInside(texture.path, modelFolder, problem);
        if (!read)
            return refused(problem);
        bytes = std::move(*read);
    }
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    const QByteArray format = reader.format();
    QImage image = reader.read();
    if (image.isNull())
        return refused(reader.errorString());

    // JPEG and PNG files stay byte for byte; anything else, and anything too
    // large for a browser to draw quickly, is written anew.
    const bool kept = (format == "jpeg" || format == "png") &&
                      std::max(image.width(), image.height()) <= ModelImport::MaxTextureSide;
    QByteArray suffix = format == "jpeg" ? "jpg" : "png";
    if (!kept) {
        if (std::max(image.width(), image.height()) > ModelImport::MaxTextureSide)
            image = image.scaled(ModelImport::MaxTextureSide, ModelImport::MaxTextureSide,
                                 Qt::KeepAspectRatio, Qt::SmoothTransformation);
        // Photographs as JPEG; PNG for what has transparency.
        suffix = image.hasAlphaChannel() ? "png" : "jpg";
        bytes = encoded(image, suffix == "png" ? "PNG" : "JPEG");
    }
    const QString hash = QString::fromLatin1(
        QCryptographicHash::hash(bytes, QCryptographicHash::Sha1).toHex().left(16));
    return {{QStringLiteral("user-%1.%2").arg(hash, QString::fromLatin1(suffix)), bytes},
            averageOf(image),
            {}};
}

} // namespace ModelTextures
