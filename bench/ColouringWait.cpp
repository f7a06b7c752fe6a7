#include "ColouringWait.h"

#include "CUltraEditView.h"
#include "LazyHighlighter.h"

#include <QCoreApplication>
#include <QThread>

void ColouringWait::untilIdle(CUltraEditView &view)
{
    while (view.highlighter() && !view.highlighter()->isIdle()) {
        QThread::msleep(1);
        QCoreApplication::processEvents();
    }
}
