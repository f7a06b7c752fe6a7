// The program as a user runs it, with a hand on the keyboard: started on a file,
// it either types the given text into the editor and says so, then waits to be
// killed, or it answers the first question with Enter and prints what the editor
// then holds and whether it counts as changed.
#include "AppTestSupport.h"
#include "CMainFrame.h"
#include "CQuillmereApp.h"
#include "CUltraEditView.h"

#include <QApplication>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <cstdio>

namespace {

void pressEnterOnQuestions()
{
    auto *timer = new QTimer(qApp);
    QObject::connect(timer, &QTimer::timeout, [] {
        if (QWidget *question = QApplication::activeModalWidget())
            QTest::keyClick(question, Qt::Key_Return);
    });
    timer->start(50);
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    const QStringList arguments = application.arguments();
    if (arguments.size() < 4)
        return 2;
    const QString &mode = arguments[1];
    const QString &programDirectory = arguments[2];
    const QString &file = arguments[3];
    CQuillmereApp app(makeExecutable(programDirectory, QStringLiteral("quillmere")));
    if (mode == QLatin1String("answer"))
        pressEnterOnQuestions();
    if (!app.InitInstance({file}))
        return 1;
    CUltraEditView *editor = app.mainFrame()->editorView();
    if (mode == QLatin1String("answer")) {
        const QString text = editor->document()->toRawText().replace(QChar::ParagraphSeparator, u'\n');
        std::printf("%s\n%s", editor->document()->isModified() ? "modified" : "unmodified", text.toUtf8().constData());
        return 0;
    }
    editor->moveCursor(QTextCursor::End);
    for (const QChar character : arguments.value(4)) {
        QKeyEvent key(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(character));
        QApplication::sendEvent(editor, &key);
    }
    std::printf("typed\n");
    std::fflush(stdout);
    return application.exec();
}
