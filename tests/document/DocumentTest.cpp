#include "CEncodingDialog.h"
#include "CommandIds.h"
#include "DocumentFixture.h"
#include "EncodingNames.h"
#include "FileSizeLimit.h"
#include "IconvText.h"
#include "LongestLine.h"
#include "StringTable.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QTextCursor>

#include <string_view>
#include <unistd.h>

namespace {

const QString JapaneseText = QString::fromUtf8("\\documentclass{jarticle}\n"
                                               "\\begin{document}\n"
                                               "日本語の文章です。漢字、ひらがな、カタカナ。\n"
                                               "\\end{document}\n");

// The text as a file in encoding holds it, after the encoding's byte-order mark when
// withMark is set.
QByteArray encode(const QString &text, TextEncoding encoding, bool withMark)
{
    const int code = static_cast<int>(encoding);
    const std::string_view mark = withMark ? EncodingNames::byteOrderMark(code) : std::string_view();
    return QByteArray(mark.data(), static_cast<qsizetype>(mark.size()))
           + iconvEncode(text, EncodingNames::iconvName(code));
}

QString withLineEnds(QString text, NewlineCode newline)
{
    if (newline == NewlineCode::CrLf)
        text.replace("\n", "\r\n");
    else if (newline == NewlineCode::Cr)
        text.replace("\n", "\r");
    return text;
}

class DocumentTest : public DocumentFixture
{
protected:
    using DocumentFixture::DocumentFixture;

    CommandUpdate query(int id) const
    {
        CommandUpdate update;
        document->updateCommand(id, update);
        return update;
    }
};

TEST_F(DocumentTest, EveryEncodingMarkAndLineEndSavesBackByteForByte)
{
    ASSERT_TRUE(library.isLoaded()) << "libnkf32.so is not built beside the tests";
    for (const TextEncoding encoding : AllTextEncodings) {
        for (const bool mark : {false, true}) {
            if (mark && !carriesByteOrderMark(encoding))
                continue;
            for (const NewlineCode newline : {NewlineCode::Lf, NewlineCode::CrLf, NewlineCode::Cr}) {
                const QByteArray bytes = encode(withLineEnds(JapaneseText, newline), encoding, mark);
                const QString path = writeFile("in.tex", bytes);
                const std::string what = std::to_string(textEncodingIndex(encoding)) + (mark ? " mark " : " ")
                                         + std::to_string(static_cast<int>(newline));
                ASSERT_TRUE(manager->OpenDocumentFile(path)) << what;
                EXPECT_EQ(editorText(), JapaneseText) << what;
                EXPECT_EQ(document->DisplayEncoding(), EncodingFlags(encoding, mark, newline)) << what;
                EXPECT_EQ(document->SaveEncoding(), document->DisplayEncoding()) << what;
                ASSERT_TRUE(document->OnSaveDocument(dir.filePath("out.tex"))) << what;
                EXPECT_EQ(readFile(dir.filePath("out.tex")), bytes) << what;
            }
        }
    }
    EXPECT_TRUE(answers.messages().empty());
}

TEST_F(DocumentTest, DetectionSetsTheRadioMarksAndRereadingKeepsTheLineEnd)
{
    const QByteArray euc = iconvEncode(withLineEnds(JapaneseText, NewlineCode::CrLf), "EUC-JP-MS");
    ASSERT_TRUE(manager->OpenDocumentFile(writeFile("euc.tex", euc)));
    EXPECT_EQ(document->DisplayEncoding(), EncodingFlags(TextEncoding::EucJp, false, NewlineCode::CrLf));
    EXPECT_EQ(query(CommandId::DisplayEucJp).checked(), std::optional<bool>(true));
    EXPECT_EQ(query(CommandId::DisplayShiftJis).checked(), std::optional<bool>(false));
    EXPECT_TRUE(query(CommandId::DisplayShiftJis).isEnabled());

    document->executeCommand(CommandId::DisplayUtf16Le);
    EXPECT_EQ(document->DisplayEncoding(), EncodingFlags(TextEncoding::Utf16LittleEndian, false, NewlineCode::CrLf));
    EXPECT_EQ(document->SaveEncoding(), document->DisplayEncoding());
    EXPECT_NE(editorText(), JapaneseText);

    document->executeCommand(CommandId::DisplayEucJp);
    EXPECT_EQ(editorText(), JapaneseText);
    EXPECT_EQ(document->DisplayEncoding(), EncodingFlags(TextEncoding::EucJp, false, NewlineCode::CrLf));
    EXPECT_FALSE(document->IsModified());
}

TEST_F(DocumentTest, ReReadingIsOfferedOnlyForUnchangedTextFromDisk)
{
    ASSERT_TRUE(manager->OpenDocumentFile(writeFile("sjis.tex", iconvEncode(JapaneseText, "CP932"))));
    EXPECT_TRUE(query(CommandId::DisplayEucJp).isEnabled());
    EXPECT_TRUE(query(CommandId::SaveEncoding).isEnabled());

    editor->insertPlainText("x");
    EXPECT_FALSE(query(CommandId::DisplayEucJp).isEnabled());
    ASSERT_TRUE(manager->DoFileSave());
    EXPECT_FALSE(document->IsModified());
    EXPECT_TRUE(query(CommandId::DisplayEucJp).isEnabled());
    EXPECT_EQ(document->savedPathParts().fileName, "sjis.tex");

    // A new document starts in this platform's format with nothing to re-read.
    ASSERT_TRUE(manager->OnFileNew());
    EXPECT_EQ(document->DisplayEncoding(), EncodingFlags::platformDefault());
    EXPECT_EQ(document->SaveEncoding(), EncodingFlags::platformDefault());
    EXPECT_FALSE(query(CommandId::DisplayUtf8).isEnabled());

    // An empty file keeps nothing of the file before it.
    ASSERT_TRUE(manager->OpenDocumentFile(writeFile("sjis2.tex", iconvEncode(JapaneseText, "CP932"))));
    ASSERT_TRUE(manager->OpenDocumentFile(writeFile("empty.tex", QByteArray())));
    EXPECT_FALSE(document->holdsLoadedBytes());
    EXPECT_EQ(document->SaveEncoding(), EncodingFlags::platformDefault());
    EXPECT_EQ(editorText(), "");
}

// After a save the file on disk is what was written: the radio mark says how, the
// same bytes can be read again in another encoding, and a save that writes
// nothing leaves both as they were.
TEST_F(DocumentTest, ASaveKeepsTheBytesItWroteAndOneThatWritesNothingChangesNeither)
{
    const QString path = writeFile("paper.tex", iconvEncode(JapaneseText, "CP932"));
    ASSERT_TRUE(manager->OpenDocumentFile(path));
    ModalHost::answerDialogsWith([](QDialog &dialog) {
        auto &encoding = dynamic_cast<CEncodingDialog &>(dialog);
        encoding.setValue(EncodingFlags(TextEncoding::EucJp, false, NewlineCode::Lf));
        encoding.accept();
        return int(QDialog::Accepted);
    });
    document->executeCommand(CommandId::SaveEncoding);
    EXPECT_TRUE(query(CommandId::DisplayShiftJis).checked().value_or(false));
    ASSERT_TRUE(manager->DoFileSave());

    EXPECT_EQ(document->DisplayEncoding(), EncodingFlags(TextEncoding::EucJp, false, NewlineCode::Lf));
    EXPECT_TRUE(query(CommandId::DisplayEucJp).checked().value_or(false));
    EXPECT_FALSE(query(CommandId::DisplayShiftJis).checked().value_or(true));
    ASSERT_TRUE(query(CommandId::DisplayShiftJis).isEnabled());
    // Reading the EUC-JP bytes as Shift_JIS garbles them; back to EUC-JP restores them.
    document->executeCommand(CommandId::DisplayShiftJis);
    EXPECT_NE(editorText(), JapaneseText);
    document->executeCommand(CommandId::DisplayEucJp);
    EXPECT_EQ(editorText(), JapaneseText);

    // A save refused at the question about lost characters writes nothing.
    editor->appendPlainText(QString::fromUtf8("\u7d75\u6587\u5b57\U0001F600"));
    answers.answerWith(QMessageBox::No);
    EXPECT_FALSE(manager->DoFileSave());
    editor->undo();
    editor->document()->setModified(false);
    EXPECT_EQ(document->DisplayEncoding(), EncodingFlags(TextEncoding::EucJp, false, NewlineCode::Lf));
    EXPECT_TRUE(query(CommandId::DisplayUtf8).isEnabled());
}

// A file whose folder went away since it was read is saved under a new name; the
// open dialog starts where the open document lies.
TEST_F(DocumentTest, SaveAsksForANameWhenTheFoldersGoneAndOpenStartsBesideTheDocument)
{
    ASSERT_TRUE(QDir(dir.path()).mkdir("gone"));
    const QString path = writeFile("gone/paper.tex", "text\n");
    ASSERT_TRUE(manager->OpenDocumentFile(path));

    QStringList titles;
    QString openedIn;
    const QString elsewhere = dir.filePath("kept.tex");
    ModalHost::answerDialogsWith([&](QDialog &dialog) {
        auto &files = dynamic_cast<QFileDialog &>(dialog);
        titles.append(files.windowTitle());
        if (files.acceptMode() == QFileDialog::AcceptOpen) {
            openedIn = files.directory().absolutePath();
            return int(QDialog::Rejected);
        }
        files.selectFile(elsewhere);
        return int(QDialog::Accepted);
    });
    EXPECT_FALSE(manager->OnFileOpen());
    EXPECT_EQ(openedIn, QFileInfo(path).absolutePath());

    ASSERT_TRUE(QDir(dir.filePath("gone")).removeRecursively());
    editor->setPlainText("kept\n");
    ASSERT_TRUE(manager->DoFileSave());
    EXPECT_EQ(titles, QStringList({"開く", "名前を付けて保存"}));
    EXPECT_TRUE(answers.messages().empty());
    EXPECT_EQ(readFile(elsewhere), "kept\n");
    EXPECT_EQ(document->GetPathName(), elsewhere);
}

TEST_F(DocumentTest, SplitSavedPathUsesSlashes)
{
    const auto parts = CQuillmereDoc::SplitSavedPath("/work/paper.final.tex");
    EXPECT_EQ(parts.directory, "/work");
    EXPECT_EQ(parts.fileName, "paper.final.tex");
    EXPECT_EQ(parts.baseName, "paper.final");
    const auto root = CQuillmereDoc::SplitSavedPath("/paper.tex");
    EXPECT_EQ(root.directory, "/");
    EXPECT_EQ(root.baseName, "paper");
    EXPECT_EQ(CQuillmereDoc::SplitSavedPath("/dir/Makefile").baseName, "Makefile");
    EXPECT_EQ(CQuillmereDoc::SplitSavedPath("C:\\dir\\a.tex").fileName, "");
    EXPECT_EQ(CQuillmereDoc::SplitSavedPath("/back\\slash/a\\b.tex").fileName, "a\\b.tex");
}

TEST_F(DocumentTest, SaveAsAddsTheExtensionAndAskingAgainCanBeCancelled)
{
    editor->setPlainText(QString::fromUtf8("新しい文書\n"));
    ModalHost::answerDialogsWith([this](QDialog &dialog) {
        auto &files = dynamic_cast<QFileDialog &>(dialog);
        EXPECT_EQ(files.windowTitle(), "名前を付けて保存");
        files.setDirectory(dir.path());
        files.selectFile("paper");
        return int(QDialog::Accepted);
    });
    document->executeCommand(CommandId::FileSaveAs);
    EXPECT_EQ(readFile(dir.filePath("paper.tex")), QString::fromUtf8("新しい文書\n").toUtf8());
    EXPECT_EQ(document->GetPathName(), dir.filePath("paper.tex"));
    EXPECT_EQ(document->savedPathParts().baseName, "paper");

    ModalHost::answerDialogsWith([](QDialog &) { return int(QDialog::Rejected); });
    document->executeCommand(CommandId::FileSaveAs);
    EXPECT_EQ(document->savedPathParts().fileName, "");
}

TEST_F(DocumentTest, UnsavedChangesAreAskedAbout)
{
    editor->setPlainText("draft");
    editor->document()->setModified(true);
    answers.answerWith(QMessageBox::Cancel);
    EXPECT_FALSE(manager->OnFileNew());
    ASSERT_EQ(answers.messages().size(), 1u);
    EXPECT_EQ(answers.messages()[0].text, "無題 への変更を保存しますか?");
    EXPECT_EQ(editorText(), "draft");

    answers.answerWith(QMessageBox::No);
    EXPECT_TRUE(manager->OpenDocumentFile(writeFile("a.tex", "a\n")));
    EXPECT_EQ(editorText(), "a\n");
    EXPECT_EQ(recentFiles.files(), QStringList{dir.filePath("a.tex")});

    QFile::remove(dir.filePath("a.tex"));
    answers.clear();
    EXPECT_FALSE(manager->OpenRecentFile(0));
    ASSERT_EQ(answers.messages().size(), 1u);
    EXPECT_EQ(answers.messages()[0].text, "ドキュメントを開くことに失敗しました。");
    EXPECT_TRUE(recentFiles.files().isEmpty());
}

TEST_F(DocumentTest, AFailedSaveKeepsTheOldFileAndTheChanges)
{
    const QString path = writeFile("paper.tex", "old contents\n");
    ASSERT_TRUE(manager->OpenDocumentFile(path));
    editor->setPlainText(QString(5000, 'x'));
    editor->document()->setModified(true);

    // How the file is written, kept whole or not written at all, is the writer's
    // own test; here the document tells the user and keeps the changes.
    {
        const FileSizeLimit fullDisk(1000);
        EXPECT_FALSE(manager->DoFileSave());
    }

    EXPECT_EQ(readFile(path), "old contents\n");
    EXPECT_TRUE(document->IsModified());
    EXPECT_EQ(document->savedPathParts().fileName, "");
    ASSERT_EQ(answers.messages().size(), 1u);
    EXPECT_EQ(answers.messages()[0].text, "ドキュメントの保存に失敗しました。");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"paper.tex"});

    // A place nobody can write to.
    answers.clear();
    EXPECT_FALSE(manager->DoSave("/proc/quillmere-cannot-write.tex"));
    EXPECT_EQ(answers.messages().size(), 1u);
    EXPECT_TRUE(document->IsModified());
    EXPECT_EQ(document->GetPathName(), path);
}

TEST_F(DocumentTest, CharactersTheEncodingLacksAreNotDroppedSilently)
{
    const QString path = writeFile("sjis.tex", iconvEncode(JapaneseText, "CP932"));
    ASSERT_TRUE(manager->OpenDocumentFile(path));
    editor->appendPlainText(QString::fromUtf8("絵文字😀\n"));

    answers.answerWith(QMessageBox::No);
    EXPECT_FALSE(manager->DoFileSave());
    ASSERT_EQ(answers.messages().size(), 1u);
    EXPECT_EQ(answers.messages()[0].text, StringTable::text(StringTable::LossySave));
    EXPECT_EQ(answers.messages()[0].buttons, QMessageBox::Yes | QMessageBox::No);
    EXPECT_EQ(readFile(path), iconvEncode(JapaneseText, "CP932"));
    EXPECT_TRUE(document->IsModified());
    EXPECT_EQ(document->savedPathParts().fileName, "");

    answers.answerWith(QMessageBox::Yes);
    EXPECT_TRUE(manager->DoFileSave());
    EXPECT_TRUE(readFile(path).contains(iconvEncode(QString::fromUtf8("絵文字?"), "CP932")));
}

TEST_F(DocumentTest, BytesThatDoNotDecodeAreReported)
{
    ASSERT_TRUE(manager->OpenDocumentFile(writeFile("sjis.tex", iconvEncode(JapaneseText, "CP932"))));
    EXPECT_TRUE(answers.messages().empty());
    document->ReloadInEncoding(TextEncoding::Utf8);
    ASSERT_EQ(answers.messages().size(), 1u);
    EXPECT_EQ(answers.messages()[0].text, StringTable::text(StringTable::InvalidBytesRead));
    EXPECT_EQ(answers.messages()[0].icon, QMessageBox::Information);
    EXPECT_TRUE(editorText().contains(QChar::ReplacementCharacter));
}

// Every character from U+0001 to U+10FFFF, 64 to a line, but the line end itself,
// CR, which the reading makes a line end, and the three the editor cannot hold.
QString everyHoldableCharacter()
{
    QString text;
    for (char32_t character = 1; character <= 0x10FFFF; ++character) {
        const bool unholdable = character == 0x2029 || character == 0xFDD0 || character == 0xFDD1;
        if (character == '\n' || character == '\r' || (character >= 0xD800 && character <= 0xDFFF) || unholdable)
            continue;
        text += QString::fromUcs4(&character, 1);
        if (character % 64 == 0)
            text += u'\n';
    }
    return text;
}

TEST_F(DocumentTest, EveryCharacterTheEditorHoldsSavesBackByteForByte)
{
    // U+2028, U+FEFF, U+FFFC, U+FFFF and the zero character among them.
    const QByteArray bytes = everyHoldableCharacter().toUtf8();
    for (const bool converter : {true, false}) {
        ConverterLibrary chosen(converter ? QStringLiteral(QUILLMERE_BUILD_DIR) : QStringLiteral("/nonexistent"));
        CQuillmereDoc plain(chosen);
        plain.attachEditor(editor);
        const QString path = writeFile("all.tex", bytes);
        ASSERT_TRUE(plain.OnOpenDocument(path));
        ASSERT_TRUE(plain.OnSaveDocument(path));
        EXPECT_TRUE(readFile(path) == bytes) << (converter ? "through the converter" : "as UTF-8");
    }
    EXPECT_TRUE(answers.messages().empty());
}

TEST_F(DocumentTest, CharactersTheEditorTurnsIntoLineBreaksAreToldAndAskedAbout)
{
    const QString text = QStringLiteral("a\nb\n") + QChar(0x2029) + QStringLiteral("c\nd") + QChar(0xFDD0)
                         + QChar(0xFDD1) + QStringLiteral("e\n");
    const QString path = writeFile("breaks.tex", text.toUtf8());
    ASSERT_TRUE(manager->OpenDocumentFile(path));
    ASSERT_EQ(answers.messages().size(), 1u);
    EXPECT_EQ(answers.messages()[0].text, StringTable::text(StringTable::UnholdableCharactersRead).arg(3).arg(3));
    EXPECT_FALSE(document->IsModified());

    answers.answerWith(QMessageBox::No);
    EXPECT_FALSE(manager->DoFileSave());
    ASSERT_EQ(answers.messages().size(), 2u);
    EXPECT_EQ(answers.messages()[1].text, StringTable::text(StringTable::UnholdableCharactersSave));
    EXPECT_EQ(answers.messages()[1].buttons, QMessageBox::Yes | QMessageBox::No);
    EXPECT_EQ(readFile(path), text.toUtf8());

    answers.answerWith(QMessageBox::Yes);
    EXPECT_TRUE(manager->DoFileSave());
    EXPECT_EQ(readFile(path), "a\nb\n\nc\nd\n\ne\n");
    // Once written, the file holds the line breaks: nothing is left to ask about.
    EXPECT_TRUE(manager->DoFileSave());
    EXPECT_EQ(answers.messages().size(), 3u);

    // In UTF-16 too, and a clean file or a new document forgets the mark.
    const QByteArray utf16(reinterpret_cast<const char *>(text.utf16()), text.size() * 2);
    const QString utf16Path = writeFile("breaks16.tex", QByteArray("\xFF\xFE") + utf16);
    ASSERT_TRUE(manager->OpenDocumentFile(utf16Path));
    EXPECT_EQ(answers.messages().size(), 4u);
    ASSERT_TRUE(manager->OpenDocumentFile(writeFile("clean.tex", "clean\n")));
    answers.answerWith(QMessageBox::No);
    EXPECT_TRUE(manager->DoFileSave());
    EXPECT_EQ(answers.messages().size(), 4u);
}

TEST_F(DocumentTest, OpeningRemovesTheTemporariesOfSavesThatWereKilled)
{
    // No process can have this id: it is above the largest the system gives.
    const QString stale = writeFile(".paper.tex.saving-999999999-Ab12Cd", QByteArray(4096, 'x'));
    const QString running = writeFile(QStringLiteral(".paper.tex.saving-%1-Ab12Cd").arg(::getpid()), "x");
    ASSERT_TRUE(manager->OpenDocumentFile(writeFile("paper.tex", "text\n")));
    EXPECT_FALSE(QFile::exists(stale));
    EXPECT_TRUE(QFile::exists(running));
}

TEST_F(DocumentTest, AFileWithALineOverAMegabyteIsAskedAboutBeforeItIsShown)
{
    const QString first = writeFile("first.tex", "first\n");
    ASSERT_TRUE(manager->OpenDocumentFile(first));
    QTextCursor(editor->document()).insertText("unsaved ");
    const QByteArray longLine(LongestLine::Limit + 1, 'x');
    const QString path = writeFile("long.tex", "\\documentclass{article}\n" + longLine + "\n");

    // Declined, nothing changes: not the open document, not its file, and the
    // question about saving it is never asked.
    answers.answerWith(QMessageBox::Cancel);
    EXPECT_FALSE(manager->OpenDocumentFile(path));
    ASSERT_EQ(answers.messages().size(), 1u);
    EXPECT_EQ(answers.messages()[0].text, StringTable::text(StringTable::VeryLongLine).arg("1,048,577").arg(2));
    EXPECT_EQ(answers.messages()[0].buttons, QMessageBox::Open | QMessageBox::Cancel);
    EXPECT_EQ(answers.messages()[0].defaultButton, QMessageBox::Cancel);
    EXPECT_EQ(document->GetPathName(), QFileInfo(first).absoluteFilePath());
    EXPECT_EQ(editorText(), "unsaved first\n");
    EXPECT_TRUE(document->IsModified());
    EXPECT_EQ(readFile(first), "first\n");
    EXPECT_EQ(recentFiles.files(), QStringList{QFileInfo(first).absoluteFilePath()});

    answers.answerWith(QMessageBox::Open);
    document->SetModifiedFlag(false);
    ASSERT_TRUE(manager->OpenDocumentFile(path));
    EXPECT_EQ(answers.messages().size(), 2u);
    EXPECT_EQ(editorText().size(), longLine.size() + 25);

    // A line of exactly the limit, even with a CR LF at its end, opens without a word.
    ASSERT_TRUE(manager->OpenDocumentFile(writeFile("limit.tex", QByteArray(LongestLine::Limit, 'y') + "\r\n")));
    EXPECT_EQ(answers.messages().size(), 2u);
}

class DocumentWithoutConverterTest : public DocumentTest
{
protected:
    DocumentWithoutConverterTest()
        : DocumentTest(QStringLiteral("/nonexistent"))
    {
    }
};

TEST_F(DocumentWithoutConverterTest, FilesAreReadAndWrittenAsUtf8)
{
    if (library.isLoaded())
        GTEST_SKIP() << "a libnkf32.so is installed system-wide";
    const QString path = writeFile("utf8.tex", withLineEnds(JapaneseText, NewlineCode::CrLf).toUtf8() + "\xFF\n");
    ASSERT_TRUE(manager->OpenDocumentFile(path));
    EXPECT_EQ(editorText(), JapaneseText + QChar::ReplacementCharacter + "\n");
    EXPECT_EQ(answers.messages().size(), 1u);
    for (const int id : {CommandId::SaveEncoding, CommandId::DisplayShiftJis, CommandId::DisplayUtf8})
        EXPECT_FALSE(query(id).isEnabled()) << id;
    editor->setPlainText(JapaneseText);
    ASSERT_TRUE(manager->DoFileSave());
    EXPECT_EQ(readFile(path), JapaneseText.toUtf8());
}

class DocumentWithFailingConverterTest : public DocumentTest
{
protected:
    DocumentWithFailingConverterTest()
        : DocumentTest(QStringLiteral(QUILLMERE_BUILD_DIR "/failing-converter"))
    {
    }
};

TEST_F(DocumentWithFailingConverterTest, AConversionFailureWritesNothing)
{
    ASSERT_TRUE(library.isLoaded());
    const QString path = writeFile("paper.tex", "old\n");
    ASSERT_TRUE(manager->OpenDocumentFile(path));
    EXPECT_EQ(editorText(), "");
    ASSERT_EQ(answers.messages().size(), 1u);
    EXPECT_EQ(answers.messages()[0].text, "文字コードの変換に失敗しました。");
    EXPECT_EQ(document->GetPathName(), path);
    EXPECT_FALSE(document->holdsLoadedBytes());

    answers.clear();
    ModalHost::answerDialogsWith([](QDialog &dialog) {
        auto &encoding = dynamic_cast<CEncodingDialog &>(dialog);
        encoding.setValue(EncodingFlags(0x8001));
        encoding.accept();
        return int(QDialog::Accepted);
    });
    document->executeCommand(CommandId::SaveEncoding);
    EXPECT_EQ(document->SaveEncoding(), EncodingFlags(0x8001));
    editor->setPlainText("new\n");
    editor->document()->setModified(true);
    EXPECT_FALSE(manager->DoFileSave());
    EXPECT_EQ(readFile(path), "old\n");
}

} // namespace
