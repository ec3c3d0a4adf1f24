// Open of files far larger than any scene file, against Open of a plain one: a 512 x 15 scene file,
// the same followed by a log up to 200 MB, and 200 MB of random bytes. The files are made at run
// time in a temporary folder; each is opened by a fresh process of this program, on the grid alone
// with no controller, which prints the timing of the runs and its peak resident memory.
// Usage: openfile_bench [runs]

#include "ChildProcess.h"
#include "Measure.h"
#include "support/EditorRig.h"
#include "support/SceneFiles.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include <cstdlib>
#include <random>

namespace {

const QString openChild = QStringLiteral("--open-child");
constexpr qint64 largeSize = 200 * 1000 * 1000;

// Writes the head, then filler made by the function a mebibyte at a time, up to the size.
template <typename Filler>
void writeFile(const QString& path, const QByteArray& head, qint64 size, Filler fill) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(head) != head.size()) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        std::exit(1);
    }
    QByteArray chunk(1 << 20, Qt::Uninitialized);
    while (file.size() < size) {
        fill(chunk);
        file.write(chunk.constData(), std::min<qint64>(chunk.size(), size - file.size()));
    }
}

void logLines(QByteArray& chunk) {
    static const QByteArray line(
        "Jan  1 00:00:00 host kernel: usb 1-1: new full-speed USB device number 2\n");
    for (qsizetype i = 0; i < chunk.size(); ++i) {
        chunk[i] = line[i % line.size()];
    }
}

void randomBytes(QByteArray& chunk) {
    static std::mt19937 random(7);
    for (char& byte : chunk) {
        byte = static_cast<char>(random() & 0xFF);
    }
}

// Opens the file the given number of times and prints the outcome, the median wall and processor
// times, the worst wall time in milliseconds and the peak resident memory in KiB.
int openFile(const QString& path, int runs) {
    EditorRig rig;
    rig.startOffline();
    const Timing timing = timeRuns(
        runs,
        [&] {
            rig.forget();
            rig.messages.answers << true;
            rig.files.answers << path;
        },
        [&] { rig.form.onOpenMenu(); });
    const bool refused = rig.messages.shown.size() > 1;
    std::printf("%s %f %f %f %ld\n", refused ? "refused" : "loaded", timing.wallMs, timing.processorMs,
                timing.worstWallMs, peakResidentKiB());
    return 0;
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    if (argc == 4 && QString::fromLatin1(argv[1]) == openChild) {
        return openFile(QString::fromLocal8Bit(argv[2]), std::atoi(argv[3]));
    }
    const int runs = argc > 1 ? std::atoi(argv[1]) : 10;
    const QTemporaryDir folder;
    const QByteArray scenes = patternedSceneFile(512, 15);
    struct Case {
        const char* what;
        QString path;
    };
    const Case cases[] = {{"plain 512 x 15 file", folder.filePath(QStringLiteral("plain.txt"))},
                          {"512 x 15 file, then a log, 200 MB", folder.filePath(QStringLiteral("log.txt"))},
                          {"random bytes, 200 MB", folder.filePath(QStringLiteral("random.bin"))}};
    writeFile(cases[0].path, scenes, scenes.size(), logLines);
    writeFile(cases[1].path, scenes, largeSize, logLines);
    writeFile(cases[2].path, QByteArray(), largeSize, randomBytes);

    std::printf("%d runs each, a fresh process for each file\n\n", runs);
    std::printf("| %-36s | %-7s | %10s | %10s | %10s | %13s |\n", "file", "outcome", "wall", "processor",
                "worst wall", "peak resident");
    std::printf("|%s|---------|-----------:|-----------:|-----------:|--------------:|\n",
                std::string(38, '-').c_str());
    for (const Case& c : cases) {
        const QList<QByteArray> fields =
            childOutput({openChild, c.path, QString::number(runs)}).trimmed().split(' ');
        std::printf("| %-36s | %-7s | %7.2f ms | %7.2f ms | %7.2f ms | %9.1f MiB |\n", c.what,
                    fields.value(0).constData(), fields.value(1).toDouble(), fields.value(2).toDouble(),
                    fields.value(3).toDouble(), fields.value(4).toDouble() / 1024.0);
    }
    return 0;
}
