#pragma once

#include "ConverterLibrary.h"
#include "DocumentCollector.h"
#include "IconvText.h"
#include "SourceFileReader.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

// A document's files in a temporary folder, written in the encodings users' files
// come in, and read back through the real converter as the editor reads them.
class DocumentFixture
{
public:
    DocumentFixture()
        : m_library(QStringLiteral(QUILLMERE_BUILD_DIR))
        , m_reader(m_library)
    {
        EXPECT_TRUE(m_directory.isValid());
        EXPECT_TRUE(m_library.isLoaded());
    }

    // Writes text to name (folders made as needed) in encoding, an iconv name.
    QString write(const QString &name, const QString &text, const char *encoding = "UTF-8") const
    {
        const QString path = m_directory.filePath(name);
        QDir().mkpath(QFileInfo(path).path());
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        const QByteArray utf8 = text.toUtf8();
        const std::string bytes = iconvConvert(std::string_view(utf8.constData(), utf8.size()), encoding, "UTF-8");
        file.write(bytes.data(), static_cast<qint64>(bytes.size()));
        return canonical(name);
    }

    QString canonical(const QString &name) const { return QFileInfo(m_directory.filePath(name)).canonicalFilePath(); }
    QString folder() const { return QFileInfo(m_directory.path()).canonicalFilePath(); }

    DocumentCollector::Read reader() const
    {
        return [this](const QString &path) { return m_reader.read(path); };
    }

private:
    QTemporaryDir m_directory;
    ConverterLibrary m_library;
    SourceFileReader m_reader;
};
