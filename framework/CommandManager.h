#pragma once

#include "CommandRouter.h"
#include "CommandVocabulary.h"

#include <QObject>
#include <QPointer>
#include <QTimer>

#include <map>

class CommandTarget;
class QAction;
class QLabel;
class QMenu;
class QMenuBar;
class QToolBar;
class QWidget;

// One QAction per command of the vocabulary, owned by the main window. Triggering
// an action routes its command; before a menu opens and whenever the user
// interface falls idle, every action asks the route how it should look.
class CommandManager : public QObject
{
    Q_OBJECT

public:
    CommandManager(QWidget *window, CommandRouter router, CommandVocabulary vocabulary);

    QAction *action(int id) const;
    const CommandVocabulary &vocabulary() const { return m_vocabulary; }
    QString prompt(int id) const;
    QString toolTip(int id) const;

    void populateMenuBar(QMenuBar *menuBar);
    void populateToolBar(QToolBar *toolBar) const;
    // A command shown right after another wherever that one stands in the menus,
    // as the entries of the recent-file list follow the first one.
    QAction *addCommandAfter(int anchorId, int id);
    // Context menus send their commands straight to the pane that shows them.
    QMenu *createContextMenu(std::size_t popup, const CommandTarget &target, QWidget *parent);

    // A status-bar pane whose text the update handlers of id set at every idle pass.
    void addStatusPane(int id, QLabel *pane);

    bool execute(int id);
    void updateAll() const;
    void requestIdleUpdate();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QAction *ensureAction(int id);
    void fillMenu(QMenu *menu, const std::vector<CommandVocabulary::MenuItem> &items);
    void applyUpdate(QAction *action, const CommandUpdate &update) const;
    bool isAccelerator(const QKeySequence &keys) const;

    QWidget *m_window;
    CommandRouter m_router;
    CommandVocabulary m_vocabulary;
    std::map<int, QAction *> m_actions;
    std::map<int, QPointer<QLabel>> m_panes;
    std::vector<QMenu *> m_menus;
    QTimer m_idleTimer;
};
