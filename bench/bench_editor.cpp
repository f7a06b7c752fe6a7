// Typing, Enter and scrolling in the editing pane with a long Japanese TeX source
// open and the line numbers shown, coloured, against the same pane with colouring
// off and a bare QPlainTextEdit holding the same text; typing a "$" that turns the
// lines below into math against a plain keystroke; and the gutter's paint for a
// short and the long documents. The generated
// 25 MB source has about 140,000 long lines; a document of 400,000 such lines, cut
// from a longer generated source, shows what a much higher line count costs. For
// each, the longest the event loop is held while the colouring works at idle.
// First, the longest the event loop is kept busy during ten seconds of typing into
// the 25 MB source, without and with crash recovery writing the unsaved text.
#include "ColouringWait.h"
#include "TexSourceGenerator.h"
#include "ThreadTime.h"
#include "TimerLateness.h"

#include "CLineWindow.h"
#include "CQuillmereDoc.h"
#include "CUltraEditView.h"
#include "ConverterLibrary.h"
#include "CrashRecovery.h"
#include "LazyHighlighter.h"
#include "ProfileStore.h"

#include <QApplication>
#include <QEventLoop>
#include <QFile>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTextCursor>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace {

constexpr std::size_t SourceSize = 25u << 20;
constexpr int ManyLineCount = 400000;
constexpr std::size_t ManyLineSourceSize = 3 * SourceSize;
constexpr int ShortLineCount = 1000;
constexpr int Repetitions = 200;
constexpr int WindowWidth = 1000;
constexpr int WindowHeight = 700;
constexpr int TypingMilliseconds = 10000;
constexpr int KeystrokeMilliseconds = 50;
constexpr int RecoveryRounds = 5;
// The idle time before every timed action, longer than the colouring's pause.
constexpr int RestMilliseconds = LazyHighlighter::PauseMilliseconds + 10;
// The "$" typed in the middle opens math down to a blank line this far below.
constexpr int MathLineCount = 10000;

double secondsOf(const std::function<void()> &work)
{
    const double start = ThreadTime::seconds();
    work();
    return ThreadTime::seconds() - start;
}

double median(std::vector<double> samples)
{
    const auto middle = samples.begin() + static_cast<std::ptrdiff_t>(samples.size() / 2);
    std::nth_element(samples.begin(), middle, samples.end());
    return *middle;
}

QString editorText(const std::string &crlfSource)
{
    std::string text;
    std::remove_copy(crlfSource.begin(), crlfSource.end(), std::back_inserter(text), '\r');
    return QString::fromStdString(text);
}

QString firstLines(const QString &text, int count)
{
    qsizetype end = -1;
    for (int line = 0; line < count; ++line) {
        end = text.indexOf(u'\n', end + 1);
        if (end < 0)
            return text;
    }
    return text.left(end);
}

// Lays out, paints and delivers whatever the last action left pending.
void settle()
{
    QCoreApplication::processEvents();
}

// The typed-into editor has the focus and draws its caret, as it would for the user.
void focus(QPlainTextEdit &editor)
{
    editor.activateWindow();
    editor.setFocus();
    settle();
}

void openIn(QPlainTextEdit &editor, const QString &text)
{
    editor.resize(WindowWidth, WindowHeight);
    editor.show();
    editor.setPlainText(text);
    settle();
}

void putCaretAt(QPlainTextEdit &editor, int position)
{
    QTextCursor caret(editor.document());
    caret.setPosition(position);
    editor.setTextCursor(caret);
    editor.centerCursor();
    settle();
}

void putCaretAtEnd(QPlainTextEdit &editor)
{
    putCaretAt(editor, editor.document()->characterCount() - 1);
}

void putCaretInMiddle(QPlainTextEdit &editor)
{
    putCaretAt(editor, editor.document()->characterCount() / 2);
}

void press(QPlainTextEdit &editor, Qt::Key key, const QString &text)
{
    QKeyEvent down(QEvent::KeyPress, key, Qt::NoModifier, text);
    QCoreApplication::sendEvent(&editor, &down);
    QKeyEvent up(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QCoreApplication::sendEvent(&editor, &up);
    settle();
}

void typeCharacter(QPlainTextEdit &editor)
{
    press(editor, Qt::Key_unknown, QStringLiteral("あ"));
}

void pressEnter(QPlainTextEdit &editor)
{
    press(editor, Qt::Key_Return, QStringLiteral("\r"));
}

void scrollOnePage(QPlainTextEdit &editor)
{
    editor.verticalScrollBar()->triggerAction(QAbstractSlider::SliderPageStepAdd);
    settle();
}

struct Medians
{
    double coloured = 0;
    double plain = 0;
    double bare = 0;
};

using Action = std::function<void(QPlainTextEdit &)>;

// Every sample follows the same rest: the colouring has done its work at idle,
// and then the machine sits idle as long for each editor. An action timed right
// after a wait costs more than the same action right after another, so timing
// only the coloured editor after the wait for its colouring charged it up to a
// third more than the others for the same keystroke.
double sampleOf(QPlainTextEdit &editor, CUltraEditView &coloured, const Action &action)
{
    ColouringWait::untilIdle(coloured);
    QThread::msleep(RestMilliseconds);
    focus(editor);
    return secondsOf([&] { action(editor); });
}

// The editors take turns, one action each, so that a change in the machine's load
// falls on all alike; all end up holding the same text again.
Medians compare(CUltraEditView &coloured, CUltraEditView &plain, QPlainTextEdit &bare, const Action &action)
{
    std::vector<double> colouredSamples;
    std::vector<double> plainSamples;
    std::vector<double> bareSamples;
    for (int run = 0; run < Repetitions; ++run) {
        colouredSamples.push_back(sampleOf(coloured, coloured, action));
        plainSamples.push_back(sampleOf(plain, coloured, action));
        bareSamples.push_back(sampleOf(bare, coloured, action));
    }
    return Medians{median(colouredSamples), median(plainSamples), median(bareSamples)};
}

void report(const char *name, const Medians &medians, double colourTarget, double bareTarget)
{
    std::printf("%-24s coloured %8.1f us  off %8.1f us  bare %8.1f us  ratio to off %.2f (target at most %.2f)  "
                "to bare %.2f (at most %.1f)\n",
                name, medians.coloured * 1e6, medians.plain * 1e6, medians.bare * 1e6, medians.coloured / medians.plain,
                colourTarget, medians.coloured / medians.bare, bareTarget);
}

Medians measure(CUltraEditView &coloured, CUltraEditView &plain, QPlainTextEdit &bare, const Action &placeCaret,
                const Action &action)
{
    placeCaret(coloured);
    placeCaret(plain);
    placeCaret(bare);
    return compare(coloured, plain, bare, action);
}

// A "$" typed at the start of a line in the middle opens math down to the blank
// line below, against a Japanese character typed at the same place; each is taken
// back before the next, and the colouring of the lines below, which runs in
// slices after the keystroke, is left out of both.
void reportOpeningMath(CUltraEditView &view)
{
    putCaretInMiddle(view);
    QTextCursor blankLine(view.document()->findBlockByNumber(view.textCursor().blockNumber() + MathLineCount));
    blankLine.insertText(QStringLiteral("\n"));
    QTextCursor lineStart = view.textCursor();
    lineStart.movePosition(QTextCursor::StartOfBlock);
    view.setTextCursor(lineStart);
    std::vector<double> dollar;
    std::vector<double> character;
    const auto sample = [&view](const QString &text) {
        ColouringWait::untilIdle(view);
        focus(view);
        const double seconds = secondsOf([&] { press(view, Qt::Key_unknown, text); });
        view.undo();
        return seconds;
    };
    for (int run = 0; run < Repetitions; ++run) {
        dollar.push_back(sample(QStringLiteral("$")));
        character.push_back(sample(QStringLiteral("あ")));
    }
    std::printf("%-24s coloured %8.1f us  plain keystroke %8.1f us  ratio %.2f (target at most 2)\n",
                "$ opening 10,000 lines", median(dollar) * 1e6, median(character) * 1e6,
                median(dollar) / median(character));
}

// The longest the event loop is held while the colouring works at idle: a "$"
// typed at the very start changes the state of every line below, and the view
// then jumps to the middle, so that the slices work out the states of the whole
// document, colour the new view's lines and take the colours off the old ones.
void reportColouringSlices(CUltraEditView &view)
{
    ColouringWait::untilIdle(view);
    putCaretAt(view, 0);
    focus(view);
    press(view, Qt::Key_unknown, QStringLiteral("$"));
    putCaretInMiddle(view);
    TimerLateness lateness(1);
    QEventLoop colouring;
    QTimer idle;
    QObject::connect(&idle, &QTimer::timeout, [&] {
        if (view.highlighter()->isIdle())
            colouring.quit();
    });
    idle.start(5);
    lateness.start();
    colouring.exec();
    std::printf("%-24s longest event-loop stall %.1f ms until idle (target at most 10)\n", "colouring at idle",
                lateness.longestSeconds() * 1e3);
    view.undo();
    ColouringWait::untilIdle(view);
}

// The numbers of the middle of the document, the same place in any length of it.
double gutterPaintMedian(CUltraEditView &view)
{
    putCaretInMiddle(view);
    CLineWindow &gutter = *view.lineWindow();
    std::vector<double> samples;
    for (int run = 0; run < Repetitions; ++run)
        samples.push_back(secondsOf([&] { gutter.repaint(); }));
    return median(samples);
}

void reportGutter(const CUltraEditView &view, double seconds, double shortSeconds)
{
    std::printf("gutter paint  %6d lines %7.1f us   ratio to %d lines %.2f (should not grow)\n",
                view.document()->blockCount(), seconds * 1e6, ShortLineCount, seconds / shortSeconds);
}

double shortGutterPaint(const QString &text, const ProfileStore &profile)
{
    CUltraEditView view(profile);
    openIn(view, firstLines(text, ShortLineCount));
    const double seconds = gutterPaintMedian(view);
    std::printf("gutter paint  %6d lines %7.1f us\n", view.document()->blockCount(), seconds * 1e6);
    return seconds;
}

// Opens the text in the coloured view, in one with colouring off and in a bare
// control, compares the four actions, the "$" that opens math, and the view's
// gutter paint against the short document's.
void benchmarkDocument(const char *name, const QString &text, const ProfileStore &profile,
                       const ProfileStore &plainProfile, double shortGutter)
{
    CUltraEditView view(profile);
    openIn(view, text);
    CUltraEditView plain(plainProfile);
    openIn(plain, text);
    // The comparison is of what the view adds to the control, so the bare control
    // shows the text the way the view does: in the same font, without wrapping.
    QPlainTextEdit bare;
    bare.setFont(view.font());
    bare.setLineWrapMode(QPlainTextEdit::NoWrap);
    openIn(bare, text);

    std::printf("\n%s: %d lines, %.1f MB of UTF-8 without CRs, gutter %s\n", name, view.document()->blockCount(),
                static_cast<double>(text.toUtf8().size()) / 1048576.0, view.lineWindow() ? "shown" : "hidden");
    report("character at the end", measure(view, plain, bare, putCaretAtEnd, typeCharacter), 1.15, 1.2);
    report("character in the middle", measure(view, plain, bare, putCaretInMiddle, typeCharacter), 1.15, 1.2);
    report("Enter in the middle", measure(view, plain, bare, putCaretInMiddle, pressEnter), 1.15, 1.5);
    report("scroll one page", measure(view, plain, bare, putCaretInMiddle, scrollOnePage), 1.3, 1.2);
    reportOpeningMath(view);
    reportColouringSlices(view);
    reportGutter(view, gutterPaintMedian(view), shortGutter);
}

// Types a character every KeystrokeMilliseconds through the event loop and returns
// the longest time a 1 ms timer waited beyond its time: the longest stall a user
// typing would feel.
double longestStallWhileTyping(CUltraEditView &view)
{
    focus(view);
    putCaretInMiddle(view);
    QTimer keystrokes;
    QObject::connect(&keystrokes, &QTimer::timeout, [&view] {
        QCoreApplication::postEvent(
            &view, new QKeyEvent(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QStringLiteral("あ")));
    });
    TimerLateness lateness(1);
    QEventLoop typing;
    QTimer::singleShot(TypingMilliseconds, &typing, &QEventLoop::quit);
    keystrokes.start(KeystrokeMilliseconds);
    lateness.start();
    typing.exec();
    return lateness.longestSeconds();
}

void printStalls(const char *name, const std::vector<double> &stalls)
{
    std::printf("  %-13s", name);
    for (const double stall : stalls)
        std::printf(" %6.1f", stall * 1e3);
    std::printf(" ms   median %6.1f ms\n", median(stalls) * 1e3);
}

// The source opened through the document, as the program opens it, and typed into
// with crash recovery off, then on, in turns. One round's longest stall is mostly
// the one time the machine kept the program from running longest, on a shared
// machine now and then 20 ms or more whatever the program does, so the medians of
// several rounds are compared.
void benchmarkRecovery(const QString &text, const ProfileStore &profile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("source.tex"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(text.toUtf8()) < 0)
        return;
    file.close();
    const ConverterLibrary noConverter;
    CUltraEditView view(profile);
    view.resize(WindowWidth, WindowHeight);
    view.show();
    CQuillmereDoc document(noConverter);
    document.attachEditor(&view);

    std::vector<double> off;
    std::vector<double> on;
    for (int round = 0; round < RecoveryRounds; ++round) {
        document.OnOpenDocument(path);
        settle();
        off.push_back(longestStallWhileTyping(view));
        // Made before the file is opened, as in the program, so that it follows
        // the text from the start.
        const CrashRecovery recovery(document, view.document(), dir.filePath(QStringLiteral("recovery")));
        document.OnOpenDocument(path);
        settle();
        on.push_back(longestStallWhileTyping(view));
    }
    std::printf("\nTyping for %d s, a key every %d ms, into the 25 MB source: longest event-loop stall of each of %d "
                "rounds\n",
                TypingMilliseconds / 1000, KeystrokeMilliseconds, RecoveryRounds);
    printStalls("recovery off", off);
    printStalls("recovery on", on);
    std::printf("  ratio of the medians %.2f (target at most 1.2, and on under 50 ms)\n", median(on) / median(off));
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    // A blinking caret would add paints of its own to whichever sample its timer fell in.
    QApplication::setCursorFlashTime(0);

    const QString source = editorText(TexSourceGenerator::generate(SourceSize));
    const QString manyLines = firstLines(editorText(TexSourceGenerator::generate(ManyLineSourceSize)), ManyLineCount);
    QTemporaryDir dir;
    const ProfileStore profile(dir.filePath(QStringLiteral("quillmere.ini")));
    const ProfileStore plainProfile(dir.filePath(QStringLiteral("plain.ini")));
    plainProfile.writeInt(QStringLiteral("ShowSyntaxColor"), QStringLiteral("ShowSyntaxColor"), 0);

    std::printf("Processor time of the GUI thread, median of %d, each action including its paint and timed after %d ms "
                "idle; window %dx%d\n\n",
                Repetitions, RestMilliseconds, WindowWidth, WindowHeight);
    benchmarkRecovery(source, profile);
    const double shortGutter = shortGutterPaint(source, profile);
    benchmarkDocument("The 25 MB source", source, profile, plainProfile, shortGutter);
    benchmarkDocument("400,000 lines", manyLines, profile, plainProfile, shortGutter);
    return 0;
}
