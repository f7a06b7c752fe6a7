// How fast completion answers on a large document: the label list opened by "{"
// after "\ref" against one hand-out of the editor's whole text, and a character
// typed with a long command list open against one typed with the popup hidden.
// Then the same document as the main file of a book: twenty chapters of a megabyte
// and a bibliography database of five, read cold away from the user interface, and
// the label and citation lists opened once they are read.
// A plain program that prints its measurements; it asserts nothing.

#include "CDullSense.h"
#include "CUltraEditView.h"
#include "CompletionSourceGenerator.h"
#include "ConverterLibrary.h"
#include "DictionaryLocation.h"
#include "DocumentFiles.h"
#include "ProfileStore.h"
#include "SourceFileReader.h"
#include "ThreadTime.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocument>
#include <QThread>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

constexpr int LineCount = 400000;
constexpr int CommandCount = 2000;
constexpr int FixedCommandCount = 14;
constexpr int ChapterCount = 20;
constexpr qsizetype ChapterBytes = 1 << 20;
constexpr qsizetype DatabaseBytes = 5 << 20;

double medianMilliseconds(int runs, const std::function<void()> &prepare, const std::function<void()> &measured)
{
    std::vector<double> times;
    for (int run = 0; run < runs; ++run) {
        prepare();
        const double start = ThreadTime::milliseconds();
        measured();
        times.push_back(ThreadTime::milliseconds() - start);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

void writeCommandDictionary(const QString &directory)
{
    QFile file(directory + QStringLiteral("/TeXFunctions.dic"));
    if (!file.open(QIODevice::WriteOnly))
        return;
    for (int i = 0; i < CommandCount - FixedCommandCount; ++i)
        file.write(QStringLiteral("define cmd%1\n").arg(i, 4, 10, QLatin1Char('0')).toLatin1());
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
}

// The main file reads in every chapter and names the database before it ends.
QString bookMainFile(const QString &source)
{
    QString includes;
    for (int chapter = 0; chapter < ChapterCount; ++chapter)
        includes += QStringLiteral("\\include{chap%1}\n").arg(chapter, 2, 10, QLatin1Char('0'));
    includes += QStringLiteral("\\bibliography{refs}\n");
    QString main = source;
    return main.insert(main.lastIndexOf(QStringLiteral("\\end{document}")), includes);
}

// Chapters of the same shape as the main file, each with labels of its own.
void writeChapters(const QString &directory)
{
    const QByteArray sample = CompletionSourceGenerator::generate(2000).toUtf8();
    const int lines = static_cast<int>(2000 * ChapterBytes / sample.size());
    const QString chapter = CompletionSourceGenerator::generate(lines);
    for (int number = 0; number < ChapterCount; ++number) {
        QString text = chapter;
        text.replace(QStringLiteral("{sec:"), QStringLiteral("{c%1:").arg(number));
        writeFile(directory + QStringLiteral("/chap%1.tex").arg(number, 2, 10, QLatin1Char('0')), text.toUtf8());
    }
}

void writeDatabase(const QString &path)
{
    QByteArray bytes;
    for (int entry = 0; bytes.size() < DatabaseBytes; ++entry) {
        bytes += QStringLiteral("@article{key%1,\n  author = {山田 太郎 and 鈴木 花子},\n"
                                "  title = {日本語の組版における文字の幅と行送り その%1},\n"
                                "  journal = {情報処理学会論文誌}, year = %2, pages = {1--10},\n}\n\n")
                     .arg(entry)
                     .arg(1990 + entry % 30)
                     .toUtf8();
    }
    writeFile(path, bytes);
}

void report(const char *what, double milliseconds, double reference, double target)
{
    std::printf("%-58s %9.3f ms  ratio %5.2f  (target <= %.0f)\n", what, milliseconds, milliseconds / reference,
                target);
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);

    QTemporaryDir directory;
    writeCommandDictionary(directory.path());
    ProfileStore profile(directory.filePath(QStringLiteral("quillmere.ini")));
    CUltraEditView view(profile, nullptr, DictionaryLocation(directory.path(), QString()));
    view.resize(800, 600);
    const QString source = bookMainFile(CompletionSourceGenerator::generate(LineCount));
    view.setPlainText(source);
    view.moveCursor(QTextCursor::End);
    view.show();
    CDullSense *popup = view.findChild<CDullSense *>();
    if (!popup)
        return 1;
    std::printf("document: %d lines, %lld UTF-8 bytes\n", LineCount, static_cast<long long>(source.toUtf8().size()));

    const double rawText = medianMilliseconds(
        5, [] {}, [&view] { view.document()->toRawText(); });
    int labelRows = 0;
    const auto typeRef = [&view] {
        QTest::keyClick(&view, Qt::Key_Return);
        QTest::keyClicks(&view, QStringLiteral("\\ref"));
    };
    const auto openLabels = [&] {
        QTest::keyClick(&view, '{');
        labelRows = popup->isShown() ? static_cast<int>(popup->items().size()) : -1;
        QTest::keyClick(&view, Qt::Key_Escape);
    };
    // The first list after the text was set takes the editor's whole text; later
    // ones work on the popup's own copy, which follows each change.
    const double firstPopup = medianMilliseconds(1, typeRef, openLabels);
    const double labelPopup = medianMilliseconds(5, typeRef, openLabels);
    std::printf("label popup rows: %d\n", labelRows);
    report("editor hands out its whole text (toRawText)", rawText, rawText, 1);
    std::printf("%-58s %9.3f ms  ratio %5.2f  (for information)\n", "first label popup after the text was set",
                firstPopup, firstPopup / rawText);
    report("\"{\" after \"\\ref\" until the label popup is shown", labelPopup, rawText, 2);

    QTest::keyClick(&view, Qt::Key_Return);
    const double hiddenChar = medianMilliseconds(
        51, [] {}, [&view] { QTest::keyClick(&view, 'a'); });
    QTest::keyClick(&view, Qt::Key_Return);
    QTest::keyClick(&view, '\\');
    const int commandRows = static_cast<int>(popup->items().size());
    const double openChar = medianMilliseconds(
        51, [] {}, [&view] { QTest::keyClick(&view, 'c'); });
    std::printf("command popup rows: %d, still shown: %s\n", commandRows, popup->isShown() ? "yes" : "no");
    report("one character typed, popup hidden", hiddenChar, hiddenChar, 1);
    report("one character typed, command list open", openChar, hiddenChar, 2);
    QTest::keyClick(&view, Qt::Key_Escape);

    const QString mainPath = directory.filePath(QStringLiteral("main.tex"));
    writeFile(mainPath, source.toUtf8());
    writeChapters(directory.path());
    writeDatabase(directory.filePath(QStringLiteral("refs.bib")));
    const ConverterLibrary library(QStringLiteral(QUILLMERE_BUILD_DIR));
    popup->setFileReader([reader = SourceFileReader(library)](const QString &path) { return reader.read(path); });
    QElapsedTimer cold;
    cold.start();
    popup->followFile(mainPath);
    while (popup->documentFiles().isReading()) {
        QCoreApplication::processEvents();
        QThread::msleep(1);
    }
    const double coldMilliseconds = static_cast<double>(cold.nsecsElapsed()) / 1e6;
    const std::shared_ptr<const DocumentSnapshot> files = popup->documentFiles().snapshot();
    std::printf("book: %d chapters of %lld bytes, database of %lld bytes: %lld files, %lld labels, %lld keys\n",
                ChapterCount, static_cast<long long>(ChapterBytes), static_cast<long long>(DatabaseBytes),
                files ? static_cast<long long>(files->stamps.size()) : 0LL,
                files ? static_cast<long long>(files->labels.labels().size()) : 0LL,
                files ? static_cast<long long>(files->citations.size()) : 0LL);
    std::printf("%-58s %9.3f ms  ratio %5.2f  (for information)\n",
                "cold: other files read, off the event loop (wall clock)", coldMilliseconds,
                coldMilliseconds / rawText);

    const auto typeCite = [&view] {
        QTest::keyClick(&view, Qt::Key_Return);
        QTest::keyClicks(&view, QStringLiteral("\\cite"));
    };
    const double bookLabels = medianMilliseconds(5, typeRef, openLabels);
    std::printf("label popup rows: %d\n", labelRows);
    // The first citation list measures the notes beside the keys; later ones reuse it.
    const double firstCitations = medianMilliseconds(1, typeCite, openLabels);
    const double bookCitations = medianMilliseconds(5, typeCite, openLabels);
    std::printf("citation popup rows: %d\n", labelRows);
    report("warm: \"{\" after \"\\ref\" with the book's labels", bookLabels, rawText, 2);
    std::printf("%-58s %9.3f ms  ratio %5.2f  (for information)\n",
                "warm: first citation list after the files were read", firstCitations, firstCitations / rawText);
    report("warm: \"{\" after \"\\cite\" with the database's keys", bookCitations, rawText, 2);
    return 0;
}
