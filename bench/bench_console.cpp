// What the console pane costs while a tool runs: the editor's own processor time
// while a silent tool sleeps, how long a 20 MB flood of output takes to show,
// against a bare QPlainTextEdit appending the same bytes read from a file and
// against the pane itself not reading the output for errors and warnings, and how
// late a 10 ms timer fires while a tool writes 100 MB without a line end.
#include "CConsoleView.h"
#include "ExternalProgram.h"
#include "ModalHost.h"
#include "TimerLateness.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QScrollBar>
#include <QStringList>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <sys/resource.h>
#include <utility>

namespace {

constexpr int SleepMilliseconds = 5000;
constexpr long FloodBytes = 20L << 20;
constexpr qint64 PieceBytes = 4096;
constexpr int Repetitions = 3;
constexpr long EndlessBytes = 100L << 20;
constexpr int TimerMilliseconds = 10;

ExternalProgram helperProgram(const QString &arguments)
{
    return ExternalProgram(QStringLiteral("helper"), QStringLiteral(QUILLMERE_CHILD_HELPER), arguments);
}

double wallSeconds(const std::function<void()> &work)
{
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double seconds(const timeval &time)
{
    return static_cast<double>(time.tv_sec) + static_cast<double>(time.tv_usec) / 1e6;
}

// User and system time of this process alone: RUSAGE_SELF leaves the children out,
// so the sleeping tool's own time does not count.
double processCpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// The best of a few runs, so that a burst of other work on the machine does not
// decide the figure.
double bestWallSeconds(const std::function<void()> &work)
{
    double best = 1e30;
    for (int run = 0; run < Repetitions; ++run)
        best = std::min(best, wallSeconds(work));
    return best;
}

bool runFinished(CConsoleView &console, const QString &arguments, const QString &directory)
{
    return console.RunCommand(helperProgram(arguments), QStringLiteral("paper"), directory)
           == ToolRun::Result::Finished;
}

void showLikeThePane(QPlainTextEdit &view)
{
    view.resize(800, 300);
    view.show();
}

// The same bytes the flood run shows, written once to a file for the bare widget.
bool writeFloodToFile(const QString &path)
{
    QProcess helper;
    helper.setStandardOutputFile(path);
    helper.start(QStringLiteral(QUILLMERE_CHILD_HELPER), {QStringLiteral("flood=%1").arg(FloodBytes)});
    return helper.waitForFinished(-1) && helper.exitStatus() == QProcess::NormalExit && helper.exitCode() == 0;
}

// A bare widget fed the way the pane is fed: each piece goes in at the end, the
// view follows it, and the event loop gets its turn before the next piece. It
// keeps everything: its own line limit trims so slowly that it would flatter the
// pane, which drops its oldest lines itself.
void appendFileInPieces(const QString &path)
{
    QPlainTextEdit view;
    view.setReadOnly(true);
    view.setLineWrapMode(QPlainTextEdit::NoWrap);
    view.setUndoRedoEnabled(false);
    showLikeThePane(view);

    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return;
    for (QByteArray piece = file.read(PieceBytes); !piece.isEmpty(); piece = file.read(PieceBytes)) {
        QTextCursor end(view.document());
        end.movePosition(QTextCursor::End);
        end.insertText(QString::fromUtf8(piece));
        view.verticalScrollBar()->setValue(view.verticalScrollBar()->maximum());
        QCoreApplication::processEvents();
    }
}

// The longest a 10 ms timer waited beyond its time while the run went on: what a
// menu or a key would wait for at worst.
double longestTimerLateness(CConsoleView &console, const QString &directory, bool &finished)
{
    TimerLateness lateness(TimerMilliseconds);
    console.clear();
    lateness.start();
    finished = runFinished(console, QStringLiteral("endless=%1").arg(EndlessBytes), directory);
    return lateness.longestSeconds();
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    ModalHost::answerMessagesWith([](const ModalHost::Message &) { return QMessageBox::Ok; });

    QTemporaryDir dir;
    CConsoleView console;
    showLikeThePane(console);
    // The pane appends once per read of the pipe, which may carry many of the
    // tool's writes; counting the appends tells how much that saves.
    int insertions = 0;
    QObject::connect(console.document(), &QTextDocument::contentsChange,
                     [&insertions](int, int, int added) { insertions += added > 0 ? 1 : 0; });

    bool endlessFinished = false;
    const double endlessWall = wallSeconds([&] {
        const double lateness = longestTimerLateness(console, dir.path(), endlessFinished);
        std::printf("no line end %.0f MB: a %d ms timer fired at most %.1f ms late (target at most 100 ms)\n",
                    EndlessBytes / 1048576.0, TimerMilliseconds, lateness * 1e3);
    });
    if (!endlessFinished) {
        std::fprintf(stderr, "The run without line ends did not finish\n");
        return 1;
    }
    std::printf("  the run took %.2f s; the pane shows %d lines\n", endlessWall, console.document()->blockCount());

    const QString sleepArguments = QStringLiteral("sleep=%1").arg(SleepMilliseconds);
    const double cpuBefore = processCpuSeconds();
    bool finished = false;
    const double sleepWall = wallSeconds([&] { finished = runFinished(console, sleepArguments, dir.path()); });
    const double sleepCpu = processCpuSeconds() - cpuBefore;
    if (!finished) {
        std::fprintf(stderr, "The helper did not run: %s\n", QUILLMERE_CHILD_HELPER);
        return 1;
    }
    std::printf("silent tool  wall %.3f s   editor processor time %.4f s   share %.2f %% (target under 2 %%)\n",
                sleepWall, sleepCpu, 100.0 * sleepCpu / sleepWall);

    const QString floodPath = dir.filePath("flood.txt");
    if (!writeFloodToFile(floodPath)) {
        std::fprintf(stderr, "The helper could not write the flood to %s\n", qPrintable(floodPath));
        return 1;
    }
    const QString floodArguments = QStringLiteral("flood=%1").arg(FloodBytes);
    bool floodsFinished = true;
    // Wall and processor time of one flood; the processor time is the editor's own,
    // which other work on a busy machine disturbs less.
    const auto floodRun = [&](bool reading) {
        const double cpuBefore = processCpuSeconds();
        const double wall = wallSeconds([&] {
            console.setReadingFindings(reading);
            console.clear();
            insertions = 0;
            floodsFinished &= runFinished(console, floodArguments, dir.path());
        });
        return std::pair{wall, processCpuSeconds() - cpuBefore};
    };
    // With the pane reading the output for errors and warnings and without, by
    // turns, so that other work on the machine weighs on both alike.
    std::pair pane{1e30, 1e30};
    std::pair paneWithoutReading{1e30, 1e30};
    for (int run = 0; run < Repetitions; ++run) {
        const auto [offWall, offCpu] = floodRun(false);
        const auto [onWall, onCpu] = floodRun(true);
        paneWithoutReading = {std::min(paneWithoutReading.first, offWall), std::min(paneWithoutReading.second, offCpu)};
        pane = {std::min(pane.first, onWall), std::min(pane.second, onCpu)};
    }
    const double bare = bestWallSeconds([&] { appendFileInPieces(floodPath); });
    if (!floodsFinished) {
        std::fprintf(stderr, "A flood run did not finish\n");
        return 1;
    }
    std::printf("flood %.0f MB in %lld-byte writes (wall seconds, best of %d)\n", FloodBytes / 1048576.0,
                static_cast<long long>(PieceBytes), Repetitions);
    std::printf("  console run %.2f s   bare QPlainTextEdit from a file %.2f s   ratio %.2f (target at most 1.5)\n",
                pane.first, bare, pane.first / bare);
    std::printf("  reading for errors and warnings on %.2f s, off %.2f s   ratio %.2f (target at most 1.10)\n",
                pane.first, paneWithoutReading.first, pane.first / paneWithoutReading.first);
    std::printf("    editor processor time on %.2f s, off %.2f s   ratio %.2f\n", pane.second,
                paneWithoutReading.second, pane.second / paneWithoutReading.second);
    std::printf("  appends: the pane %d for the last run (its prompt line included), the bare widget %lld\n",
                insertions, static_cast<long long>((QFileInfo(floodPath).size() + PieceBytes - 1) / PieceBytes));
    std::printf("  the pane shows %lld characters, ending \"%s\"\n",
                static_cast<long long>(console.document()->characterCount() - 1),
                qPrintable(console.toPlainText().right(20).replace(u'\n', QStringLiteral("\\n"))));

    return 0;
}
