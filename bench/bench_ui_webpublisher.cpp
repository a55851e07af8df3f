// "Open in Web Browser": from the click to the local server's first answer to
// the browser, on the first click (page written, player copied into ToGo,
// server started) and on a later one (nothing to copy, server running). The
// counters give what the page and the player add to ToGo.

#include "BenchMain.h"
#include "editor/window/WebPublisher.h"
#include "core/files/FileServices.h"
#include "editor/platform/FakePlatform.h"

#include <QCoreApplication>
#include <QDirIterator>
#include <QEventLoop>
#include <QFileInfo>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

// A program folder with the shipped player and an exported world in ToGo.
std::unique_ptr<QTemporaryDir> programFolder()
{
    auto program = std::make_unique<QTemporaryDir>();
    if (!Files::mirrorFolder(QStringLiteral(BIN_DIR "/x_ite"), program->filePath("x_ite")).ok() ||
        !Files::createFolder(program->filePath("ToGo")).ok() ||
        !Files::writeBytes(program->filePath("ToGo/park.wrl"), "#VRML V2.0 utf8\r\n").ok())
        qFatal("cannot prepare a program folder");
    return program;
}

// What the browser does first: asks for the page; true when the answer begins.
bool firstAnswer(const QUrl &page)
{
    QTcpSocket socket;
    QEventLoop loop;
    bool answered = false;
    QObject::connect(&socket, &QTcpSocket::connected, [&] {
        socket.write("GET / HTTP/1.1\r\nHost: 127.0.0.1:" + QByteArray::number(page.port()) +
                     "\r\n\r\n");
    });
    QObject::connect(&socket, &QTcpSocket::readyRead, &loop, [&] {
        answered = socket.readAll().startsWith("HTTP/1.1 200");
        loop.quit();
    });
    QObject::connect(&socket, &QTcpSocket::errorOccurred, &loop, &QEventLoop::quit);
    QTimer::singleShot(5000, &loop, &QEventLoop::quit);
    socket.connectToHost(page.host(), quint16(page.port()));
    loop.exec();
    return answered;
}

struct Size {
    qint64 bytes = 0;
    int files = 0;
};

Size sizeOf(const QString &path)
{
    if (QFileInfo(path).isFile())
        return {QFileInfo(path).size(), 1};
    Size size;
    for (QDirIterator it(path, QDir::Files, QDirIterator::Subdirectories); it.hasNext();) {
        it.next();
        size.bytes += it.fileInfo().size();
        ++size.files;
    }
    return size;
}

void click(benchmark::State &state, WebPublisher &publisher, const QString &world)
{
    if (!publisher.openInWebBrowser(nullptr, world) || !firstAnswer(publisher.pageUrl()))
        state.SkipWithError("the page was not served");
}

void BM_FirstClick(benchmark::State &state)
{
    FakePlatform fake;
    for (auto _ : state) {
        state.PauseTiming();
        auto program = programFolder();
        auto publisher = std::make_unique<WebPublisher>(fake.platform(), program->path());
        state.ResumeTiming();
        click(state, *publisher, program->filePath("ToGo/park.wrl"));
        state.PauseTiming();
        publisher.reset();
        program.reset();
        state.ResumeTiming();
    }
    auto program = programFolder();
    WebPublisher publisher(fake.platform(), program->path());
    click(state, publisher, program->filePath("ToGo/park.wrl"));
    const Size page = sizeOf(program->filePath("ToGo/index.html"));
    const Size player = sizeOf(program->filePath("ToGo/x_ite"));
    state.counters["page_kB"] = double(page.bytes) / 1e3;
    state.counters["player_MB"] = double(player.bytes) / 1e6;
    state.counters["player_files"] = player.files;
}
BENCHMARK(BM_FirstClick)->Unit(benchmark::kMillisecond)->Iterations(20);

void BM_LaterClick(benchmark::State &state)
{
    FakePlatform fake;
    auto program = programFolder();
    WebPublisher publisher(fake.platform(), program->path());
    const QString world = program->filePath("ToGo/park.wrl");
    click(state, publisher, world);
    for (auto _ : state)
        click(state, publisher, world);
}
BENCHMARK(BM_LaterClick)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    return runBenchmarks<QCoreApplication>(argc, argv);
}
