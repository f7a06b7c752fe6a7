#include "CommandManager.h"

#include "AcceleratorSuspension.h"
#include "CommandTarget.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <QWidget>

namespace {

QString stringPart(const QString &entry, int part)
{
    const QStringList parts = entry.split(u'\n');
    return part < parts.size() ? parts[part] : QString();
}

void collectMenuTexts(const std::vector<CommandVocabulary::MenuItem> &items, std::map<int, QString> &texts)
{
    for (const auto &item : items) {
        if (item.isPopup())
            collectMenuTexts(item.items, texts);
        else if (!item.isSeparator())
            texts.try_emplace(item.id, item.text);
    }
}

} // namespace

CommandManager::CommandManager(QWidget *window, CommandRouter router, CommandVocabulary vocabulary)
    : QObject(window)
    , m_window(window)
    , m_router(std::move(router))
    , m_vocabulary(std::move(vocabulary))
{
    std::map<int, QString> texts;
    collectMenuTexts(m_vocabulary.menuBar, texts);
    for (const auto &[id, text] : texts)
        ensureAction(id)->setText(text);

    std::map<int, QList<QKeySequence>> shortcuts;
    for (const auto &accelerator : m_vocabulary.accelerators)
        shortcuts[accelerator.id].append(accelerator.keys);
    for (const auto &[id, keys] : shortcuts)
        ensureAction(id)->setShortcuts(keys);

    for (const int id : m_vocabulary.toolBar) {
        if (id != 0)
            ensureAction(id);
    }
    for (const auto &[id, path] : m_vocabulary.toolBarIcons)
        ensureAction(id)->setIcon(QIcon(path));

    for (const auto &group : m_vocabulary.radioGroups) {
        auto *actionGroup = new QActionGroup(this);
        actionGroup->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
        for (const int id : group)
            actionGroup->addAction(ensureAction(id));
    }

    m_idleTimer.setSingleShot(true);
    m_idleTimer.setInterval(0);
    connect(&m_idleTimer, &QTimer::timeout, this, &CommandManager::updateAll);
    qApp->installEventFilter(this);
    updateAll();
}

QAction *CommandManager::ensureAction(int id)
{
    if (const auto found = m_actions.find(id); found != m_actions.end())
        return found->second;
    auto *action = new QAction(m_window);
    action->setData(id);
    action->setStatusTip(prompt(id));
    action->setToolTip(toolTip(id));
    connect(action, &QAction::triggered, this, [this, id] { execute(id); });
    m_window->addAction(action);
    m_actions.emplace(id, action);
    return action;
}

QAction *CommandManager::action(int id) const
{
    const auto found = m_actions.find(id);
    return found == m_actions.end() ? nullptr : found->second;
}

QString CommandManager::prompt(int id) const
{
    const auto found = m_vocabulary.strings.find(id);
    return found == m_vocabulary.strings.end() ? QString() : stringPart(found->second, 0);
}

QString CommandManager::toolTip(int id) const
{
    const auto found = m_vocabulary.strings.find(id);
    return found == m_vocabulary.strings.end() ? QString() : stringPart(found->second, 1);
}

void CommandManager::populateMenuBar(QMenuBar *menuBar)
{
    for (const auto &popup : m_vocabulary.menuBar) {
        QMenu *menu = menuBar->addMenu(popup.text);
        fillMenu(menu, popup.items);
    }
}

void CommandManager::fillMenu(QMenu *menu, const std::vector<CommandVocabulary::MenuItem> &items)
{
    connect(menu, &QMenu::aboutToShow, this, &CommandManager::updateAll);
    m_menus.push_back(menu);
    for (const auto &item : items) {
        if (item.isSeparator())
            menu->addSeparator();
        else if (item.isPopup())
            fillMenu(menu->addMenu(item.text), item.items);
        else
            menu->addAction(action(item.id));
    }
}

void CommandManager::populateToolBar(QToolBar *toolBar) const
{
    for (const int id : m_vocabulary.toolBar) {
        if (id == 0)
            toolBar->addSeparator();
        else
            toolBar->addAction(action(id));
    }
}

QAction *CommandManager::addCommandAfter(int anchorId, int id)
{
    QAction *added = ensureAction(id);
    const QAction *anchor = action(anchorId);
    for (QMenu *menu : m_menus) {
        const QList<QAction *> actions = menu->actions();
        const qsizetype at = actions.indexOf(anchor);
        if (at >= 0)
            menu->insertAction(actions.value(at + 1), added);
    }
    return added;
}

QMenu *CommandManager::createContextMenu(std::size_t popup, const CommandTarget &target, QWidget *parent)
{
    auto *menu = new QMenu(parent);
    std::vector<std::pair<QAction *, int>> entries;
    for (const auto &item : m_vocabulary.contextMenus.at(popup).items) {
        if (item.isSeparator()) {
            menu->addSeparator();
            continue;
        }
        QAction *entry = menu->addAction(item.text);
        entry->setStatusTip(prompt(item.id));
        entries.emplace_back(entry, item.id);
        connect(entry, &QAction::triggered, this, [this, &target, id = item.id] {
            CommandUpdate update;
            target.updateCommand(id, update);
            if (target.handlesCommand(id) && update.isEnabled())
                target.executeCommand(id);
            requestIdleUpdate();
        });
    }
    connect(menu, &QMenu::aboutToShow, this, [this, entries, &target] {
        for (const auto &[entry, id] : entries) {
            CommandUpdate update;
            update.enable(target.handlesCommand(id));
            target.updateCommand(id, update);
            applyUpdate(entry, update);
        }
    });
    return menu;
}

bool CommandManager::execute(int id)
{
    const bool ran = m_router.execute(id);
    requestIdleUpdate();
    return ran;
}

void CommandManager::applyUpdate(QAction *action, const CommandUpdate &update) const
{
    action->setEnabled(update.isEnabled());
    if (const auto checked = update.checked()) {
        action->setCheckable(true);
        action->setChecked(*checked);
    }
    if (const auto &text = update.text())
        action->setText(*text);
    if (const auto visible = update.visible())
        action->setVisible(*visible);
}

void CommandManager::addStatusPane(int id, QLabel *pane)
{
    m_panes[id] = pane;
    requestIdleUpdate();
}

void CommandManager::updateAll() const
{
    for (const auto &[id, action] : m_actions)
        applyUpdate(action, m_router.query(id));
    for (const auto &[id, pane] : m_panes) {
        const CommandUpdate update = m_router.query(id);
        if (pane && update.text())
            pane->setText(*update.text());
    }
}

void CommandManager::requestIdleUpdate()
{
    if (!m_idleTimer.isActive())
        m_idleTimer.start();
}

bool CommandManager::isAccelerator(const QKeySequence &keys) const
{
    for (const auto &accelerator : m_vocabulary.accelerators) {
        if (accelerator.keys == keys)
            return true;
    }
    return false;
}

bool CommandManager::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::Shortcut:
        if (AcceleratorSuspension::isActive() && qobject_cast<QAction *>(watched))
            return true;
        break;
    case QEvent::ShortcutOverride: {
        if (AcceleratorSuspension::isActive())
            break;
        // The frame's accelerators come before the keys a text control would keep
        // for itself, wherever the focus is inside the main window.
        const auto *widget = qobject_cast<QWidget *>(watched);
        const auto *key = static_cast<QKeyEvent *>(event);
        const QKeySequence keys(QKeyCombination(key->modifiers() & ~Qt::KeypadModifier, Qt::Key(key->key())));
        if (widget && widget->window() == m_window && isAccelerator(keys)) {
            event->ignore();
            return true;
        }
        break;
    }
    case QEvent::KeyRelease:
    case QEvent::MouseButtonRelease:
    case QEvent::FocusIn:
    case QEvent::WindowActivate:
        requestIdleUpdate();
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}
