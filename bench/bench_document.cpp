// Opening and saving a generated 25 MB Japanese TeX source (Shift_JIS, CR+LF) through
// the document, against what Qt and iconv take for the same work on their own; and
// opening it into the editing pane until the first paint and the first keystroke,
// coloured against colouring off and a bare control, with the memory each takes.
#include "ColouringWait.h"
#include "IconvReference.h"
#include "PeakMemory.h"
#include "TexSourceGenerator.h"
#include "ThreadTime.h"

#include "CQuillmereDoc.h"
#include "CUltraEditView.h"
#include "ConverterLibrary.h"
#include "ModalHost.h"
#include "ProfileStore.h"

#include <QApplication>
#include <QFile>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <utility>

namespace {

constexpr std::size_t SourceSize = 25u << 20;
constexpr int Repetitions = 5;
constexpr int WindowWidth = 1000;
constexpr int WindowHeight = 700;

double secondsOf(const std::function<void()> &work)
{
    const double start = ThreadTime::seconds();
    work();
    return ThreadTime::seconds() - start;
}

// The best times of the work and of its reference, run by turns, so that both see
// the same spells of a busy or a quiet machine.
std::pair<double, double> bestSecondsByTurns(const std::function<void()> &work, const std::function<void()> &reference)
{
    double bestWork = 1e30;
    double bestReference = 1e30;
    for (int run = 0; run < Repetitions; ++run) {
        bestWork = std::min(bestWork, secondsOf(work));
        bestReference = std::min(bestReference, secondsOf(reference));
    }
    return {bestWork, bestReference};
}

void writeFile(const QString &path, const std::string &bytes)
{
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes.data(), static_cast<qint64>(bytes.size()));
}

QString rawText(const QPlainTextEdit &editor)
{
    QString text = editor.document()->toRawText();
    text.replace(QChar::ParagraphSeparator, u'\n');
    return text;
}

void typeCharacter(QPlainTextEdit &editor)
{
    QKeyEvent down(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QStringLiteral("あ"));
    QCoreApplication::sendEvent(&editor, &down);
    QKeyEvent up(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QStringLiteral("あ"));
    QCoreApplication::sendEvent(&editor, &up);
    QCoreApplication::processEvents();
}

void showEditor(QPlainTextEdit &editor)
{
    editor.resize(WindowWidth, WindowHeight);
    editor.show();
    QCoreApplication::processEvents();
}

struct OpenTimes
{
    double firstPaint = 1e30;
    double firstKeystroke = 1e30;

    void keepBest(const OpenTimes &other)
    {
        firstPaint = std::min(firstPaint, other.firstPaint);
        firstKeystroke = std::min(firstKeystroke, other.firstKeystroke);
    }
};

// From the start of the open until the text is painted and until a character typed
// then is painted too.
OpenTimes timeOpen(QPlainTextEdit &editor, const std::function<void()> &open)
{
    const double start = ThreadTime::seconds();
    open();
    QCoreApplication::processEvents();
    const double painted = ThreadTime::seconds();
    typeCharacter(editor);
    return {painted - start, ThreadTime::seconds() - start};
}

// A view with colouring on or off, shown, with the file opened through a document
// and the colouring's idle work done.
void openAtRest(const ConverterLibrary &library, const ProfileStore &profile, const QString &path, bool coloured)
{
    CUltraEditView view(profile);
    view.ShowSyntaxColor(coloured);
    showEditor(view);
    CQuillmereDoc document(library);
    document.attachEditor(&view);
    document.OnOpenDocument(path);
    QCoreApplication::processEvents();
    ColouringWait::untilIdle(view);
}

void benchmarkEditingPane(const ConverterLibrary &library, const QString &path, const QString &decoded,
                          const QString &settingsPath)
{
    const ProfileStore profile(settingsPath);
    // Measured before this process paints anything: Qt paints large areas with helper
    // threads, and a child forked after they started waits for them for ever.
    const std::size_t colouredGrowth = PeakMemory::growthDuring([&] { openAtRest(library, profile, path, true); });
    const std::size_t plainGrowth = PeakMemory::growthDuring([&] { openAtRest(library, profile, path, false); });

    CUltraEditView coloured(profile);
    coloured.ShowSyntaxColor(true);
    CQuillmereDoc colouredDocument(library);
    colouredDocument.attachEditor(&coloured);
    CUltraEditView plain(profile);
    plain.ShowSyntaxColor(false);
    CQuillmereDoc plainDocument(library);
    plainDocument.attachEditor(&plain);
    QPlainTextEdit bare;
    bare.setFont(coloured.font());
    bare.setLineWrapMode(QPlainTextEdit::NoWrap);
    for (QPlainTextEdit *editor :
         {static_cast<QPlainTextEdit *>(&coloured), static_cast<QPlainTextEdit *>(&plain), &bare})
        showEditor(*editor);

    OpenTimes colouredTimes;
    OpenTimes plainTimes;
    OpenTimes bareTimes;
    for (int run = 0; run < Repetitions; ++run) {
        colouredTimes.keepBest(timeOpen(coloured, [&] { colouredDocument.OnOpenDocument(path); }));
        plainTimes.keepBest(timeOpen(plain, [&] { plainDocument.OnOpenDocument(path); }));
        bareTimes.keepBest(timeOpen(bare, [&] { bare.setPlainText(decoded); }));
    }
    std::printf("\nInto the editing pane, %dx%d, line numbers shown\n", WindowWidth, WindowHeight);
    std::printf("open until first paint      coloured %.2f s   off %.2f s   ratio %.2f (target at most 1.1)   "
                "bare setPlainText %.2f s   ratio %.2f (target at most 1.3)\n",
                colouredTimes.firstPaint, plainTimes.firstPaint, colouredTimes.firstPaint / plainTimes.firstPaint,
                bareTimes.firstPaint, colouredTimes.firstPaint / bareTimes.firstPaint);
    std::printf("open until first keystroke coloured %.2f s   off %.2f s   ratio %.2f (target at most 1.1)   "
                "bare setPlainText %.2f s   ratio %.2f (target at most 1.3)\n",
                colouredTimes.firstKeystroke, plainTimes.firstKeystroke,
                colouredTimes.firstKeystroke / plainTimes.firstKeystroke, bareTimes.firstKeystroke,
                colouredTimes.firstKeystroke / bareTimes.firstKeystroke);

    std::printf("memory open peak, every line's state known: coloured %.0f MB   off %.0f MB   ratio %.3f (target at "
                "most 1.1)\n",
                colouredGrowth / 1048576.0, plainGrowth / 1048576.0,
                static_cast<double>(colouredGrowth) / static_cast<double>(plainGrowth));
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    ModalHost::answerMessagesWith([](const ModalHost::Message &) { return QMessageBox::Ok; });

    const std::string source = TexSourceGenerator::generate(SourceSize);
    const std::string shiftJis = IconvReference("CP932", "UTF-8").convert(source);
    std::string pivot;
    std::remove_copy(source.begin(), source.end(), std::back_inserter(pivot), '\r');
    const QString decoded = QString::fromStdString(pivot);

    QTemporaryDir dir;
    const QString path = dir.filePath("paper.tex");
    writeFile(path, shiftJis);
    std::printf("Source: %.1f MB of Shift_JIS with CR+LF (seconds of processor time, best of %d)\n\n",
                shiftJis.size() / 1048576.0, Repetitions);

    const ConverterLibrary library(QStringLiteral(QUILLMERE_BUILD_DIR));
    QPlainTextEdit editor;
    CQuillmereDoc document(library);
    document.attachEditor(&editor);

    const auto [open, qtAlone] = bestSecondsByTurns([&] { document.OnOpenDocument(path); },
                                                    [&] { editor.setPlainText(decoded); });
    std::printf("open   document %.2f s   setPlainText alone %.2f s   ratio %.2f (target at most 1.25)\n", open,
                qtAlone, open / qtAlone);

    document.OnOpenDocument(path);
    const QString savedPath = dir.filePath("saved.tex");
    const IconvReference toShiftJis("CP932", "UTF-8");
    const auto [save, reference] = bestSecondsByTurns([&] { document.OnSaveDocument(savedPath); },
                                                      [&] {
                                                          const std::string text = rawText(editor).toStdString();
                                                          std::string crlf;
                                                          crlf.reserve(text.size() + text.size() / 16);
                                                          for (const char c : text) {
                                                              if (c == '\n')
                                                                  crlf += '\r';
                                                              crlf += c;
                                                          }
                                                          writeFile(dir.filePath("reference.tex"),
                                                                    toShiftJis.convert(crlf));
                                                      });
    std::printf("save   document %.2f s   toRawText+iconv+write %.2f s   ratio %.2f (target at most 1.5)\n", save,
                reference, save / reference);

    const std::size_t widgetGrowth = PeakMemory::growthDuring([&] {
        QPlainTextEdit fresh;
        fresh.setPlainText(decoded);
    });
    const std::size_t openGrowth = PeakMemory::growthDuring([&] {
        QPlainTextEdit fresh;
        CQuillmereDoc freshDocument(library);
        freshDocument.attachEditor(&fresh);
        freshDocument.OnOpenDocument(path);
    });
    std::printf(
        "memory open peak %.0f MB   widget alone %.0f MB   above the widget %.2f x the file (target at most 4)\n",
        openGrowth / 1048576.0, widgetGrowth / 1048576.0,
        (static_cast<double>(openGrowth) - static_cast<double>(widgetGrowth)) / shiftJis.size());

    benchmarkEditingPane(library, path, decoded, dir.filePath("quillmere.ini"));
    return 0;
}
