// How fast completion answers on a large document: the label list opened by "{"
// after "\ref" against one hand-out of the editor's whole text, and a character
// typed with a long command list open against one typed with the popup hidden.
// A plain program that prints its measurements; it asserts nothing.

#include "CDullSense.h"
#include "CUltraEditView.h"
#include "CompletionSourceGenerator.h"
#include "DictionaryLocation.h"
#include "ProfileStore.h"
#include "ThreadTime.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocument>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

constexpr int LineCount = 400000;
constexpr int CommandCount = 2000;
constexpr int FixedCommandCount = 14;

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

void report(const char *what, double milliseconds, double reference, double target)
{
    std::printf("%-58s %9.3f ms  ratio %5.2f  (target <= %.0f)\n", what, milliseconds, milliseconds / reference, target);
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
    const QString source = CompletionSourceGenerator::generate(LineCount);
    view.setPlainText(source);
    view.moveCursor(QTextCursor::End);
    view.show();
    const CDullSense *popup = view.findChild<CDullSense *>();
    if (!popup)
        return 1;
    std::printf("document: %d lines, %lld UTF-8 bytes\n", LineCount,
                static_cast<long long>(source.toUtf8().size()));

    const double rawText = medianMilliseconds(5, [] {}, [&view] { view.document()->toRawText(); });
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
    const double hiddenChar = medianMilliseconds(51, [] {}, [&view] { QTest::keyClick(&view, 'a'); });
    QTest::keyClick(&view, Qt::Key_Return);
    QTest::keyClick(&view, '\\');
    const int commandRows = static_cast<int>(popup->items().size());
    const double openChar = medianMilliseconds(51, [] {}, [&view] { QTest::keyClick(&view, 'c'); });
    std::printf("command popup rows: %d, still shown: %s\n", commandRows, popup->isShown() ? "yes" : "no");
    report("one character typed, popup hidden", hiddenChar, hiddenChar, 1);
    report("one character typed, command list open", openChar, hiddenChar, 2);
    return 0;
}
