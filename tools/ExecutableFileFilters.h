#pragma once

#include <QString>
#include <QStringList>

// Turns the executable filter of the string table ("label|pattern|label|pattern||")
// into the name filters of a file dialog. The labels stay as written; every pattern
// matches every file, since executables here have no extension and "*.*" would hide
// them. Each filter carries its pattern in a trailing parenthesis, which the dialog
// hides (QFileDialog::HideNameFilterDetails), so only the label shows.
QStringList ExecutableFileFilters(const QString &resourceFilter);
