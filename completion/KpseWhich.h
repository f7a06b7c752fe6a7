#pragma once

#include <QHash>
#include <QString>

// Asks TeX Live's kpsewhich where an installed file is, such as a bibliography
// database that ships with a distribution. Answers are kept for as long as the
// object lives: installed files seldom come and go while the editor runs, and each
// question starts a program.
class KpseWhich
{
public:
    static constexpr int TimeoutMilliseconds = 10000;

    // The path kpsewhich gives for name, or empty when it finds nothing or cannot
    // be run.
    QString find(const QString &name);

private:
    QHash<QString, QString> m_known;
};
