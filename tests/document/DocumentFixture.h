#pragma once

#include "CQuillmereDoc.h"
#include "ConverterLibrary.h"
#include "DocumentManager.h"
#include "FileBytes.h"
#include "ModalAnswers.h"
#include "RecentFileList.h"

#include <QPlainTextEdit>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

// A document with its editor and file handling, as the program puts them together,
// in a temporary folder, with the conversion library found in libraryDirectory.
// Every message is recorded and answered by answers (OK until a test chooses).
class DocumentFixture : public testing::Test
{
protected:
    explicit DocumentFixture(const QString &libraryDirectory = QStringLiteral(QUILLMERE_BUILD_DIR))
        : library(libraryDirectory)
    {
        editor = new QPlainTextEdit(&window);
        document = std::make_unique<CQuillmereDoc>(library);
        document->attachEditor(editor);
        manager = new DocumentManager(*document, recentFiles, {"TeX Files (*.tex)", "*.tex", "tex"}, &window);
        document->setDocumentManager(manager);
    }

    QString writeFile(const QString &name, const QByteArray &bytes) const
    {
        EXPECT_TRUE(FileBytes::write(dir.filePath(name), bytes)) << name.toStdString();
        return dir.filePath(name);
    }

    static QByteArray readFile(const QString &path) { return FileBytes::read(path); }

    QString editorText() const { return editor->document()->toRawText().replace(QChar::ParagraphSeparator, '\n'); }

    ModalAnswers answers;
    QTemporaryDir dir;
    ConverterLibrary library;
    QWidget window;
    QPlainTextEdit *editor = nullptr;
    RecentFileList recentFiles{4};
    std::unique_ptr<CQuillmereDoc> document;
    DocumentManager *manager = nullptr;
};
