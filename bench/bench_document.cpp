// Opening and saving a generated 25 MB Japanese TeX source (Shift_JIS, CR+LF) through
// the document, against what Qt and iconv take for the same work on their own.
#include "IconvReference.h"
#include "PeakMemory.h"
#include "TexSourceGenerator.h"
#include "ThreadTime.h"

#include "CQuillmereDoc.h"
#include "ConverterLibrary.h"
#include "ModalHost.h"

#include <QApplication>
#include <QFile>
#include <QPlainTextEdit>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <utility>

namespace {

constexpr std::size_t SourceSize = 25u << 20;
constexpr int Repetitions = 5;

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
    const auto [save, reference] = bestSecondsByTurns([&] { document.OnSaveDocument(savedPath); }, [&] {
        const std::string text = rawText(editor).toStdString();
        std::string crlf;
        crlf.reserve(text.size() + text.size() / 16);
        for (const char c : text) {
            if (c == '\n')
                crlf += '\r';
            crlf += c;
        }
        writeFile(dir.filePath("reference.tex"), toShiftJis.convert(crlf));
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
    std::printf("memory open peak %.0f MB   widget alone %.0f MB   above the widget %.2f x the file (target at most 4)\n",
                openGrowth / 1048576.0, widgetGrowth / 1048576.0,
                (static_cast<double>(openGrowth) - static_cast<double>(widgetGrowth)) / shiftJis.size());
    return 0;
}
