#pragma once

#include "CQuillmereDoc.h"
#include "ConverterLibrary.h"
#include "DocumentManager.h"
#include "ModalHost.h"
#include "RecentFileList.h"

#include <QFile>
#include <QPlainTextEdit>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

// A document with its editor and file handling, as the program puts them together,
// in a temporary folder; every message is recorded and answered with answer.
class DocumentFixture : public testing::Test
{
protected:
    DocumentFixture()
        : library(QStringLiteral(QUILLMERE_BUILD_DIR))
    {
        editor = new QPlainTextEdit(&window);
        document = std::make_unique<CQuillmereDoc>(library);
        document->attachEditor(editor);
        manager = new DocumentManager(*document, recentFiles, {"TeX Files (*.tex)", "*.tex", "tex"}, &window);
        document->setDocumentManager(manager);
        ModalHost::answerMessagesWith([this](const ModalHost::Message &message) {
            messages.push_back(message);
            return answer;
        });
    }

    ~DocumentFixture() override { ModalHost::answerMessagesWith({}); }

    QString writeFile(const QString &name, const QByteArray &bytes) const
    {
        QFile file(dir.filePath(name));
        file.open(QIODevice::WriteOnly | QIODevice::Truncate);
        file.write(bytes);
        return dir.filePath(name);
    }

    static QString readFile(const QString &path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }

    QString editorText() const { return editor->document()->toRawText().replace(QChar::ParagraphSeparator, '\n'); }

    QTemporaryDir dir;
    ConverterLibrary library;
    QWidget window;
    QPlainTextEdit *editor = nullptr;
    RecentFileList recentFiles{4};
    std::unique_ptr<CQuillmereDoc> document;
    DocumentManager *manager = nullptr;
    std::vector<ModalHost::Message> messages;
    QMessageBox::StandardButton answer = QMessageBox::Yes;
};
