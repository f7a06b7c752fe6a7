#pragma once

#include "CUltraEditView.h"
#include "ModalAnswers.h"
#include "ModalHost.h"
#include "ProfileStore.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QTextCursor>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

// A view on a settings file of its own in a temporary folder, with every message
// box answered and recorded.
class EditorFixture : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_profile.setPath(m_dir.filePath(QStringLiteral("quillmere.ini")));
    }

    std::unique_ptr<CUltraEditView> makeView(const QString &text = QString())
    {
        auto view = std::make_unique<CUltraEditView>(m_profile);
        view->resize(400, 300);
        view->setPlainText(text);
        return view;
    }

    // A fresh reader, so that only what reached the file counts.
    int storedInt(const QString &section, const QString &key, int defaultValue = -1) const
    {
        return ProfileStore(m_profile.path()).readInt(section, key, defaultValue);
    }

    QString storedString(const QString &section, const QString &key) const
    {
        return ProfileStore(m_profile.path()).readString(section, key, QStringLiteral("<none>"));
    }

    static void select(CUltraEditView &view, int anchor, int position)
    {
        QTextCursor cursor = view.textCursor();
        cursor.setPosition(anchor);
        cursor.setPosition(position, QTextCursor::KeepAnchor);
        view.setTextCursor(cursor);
    }

    static bool isEnabled(const CUltraEditView &view, int id)
    {
        CommandUpdate update;
        view.updateCommand(id, update);
        return update.isEnabled();
    }

    QTemporaryDir m_dir;
    ProfileStore m_profile;
    ModalAnswers m_answers;
};
