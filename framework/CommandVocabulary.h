#pragma once

#include <QKeySequence>
#include <QString>

#include <map>
#include <vector>

// Everything the user sees of the commands, as data: the menu bar, the context
// menus, the accelerator table, the toolbar and the string table.
struct CommandVocabulary
{
    // A command (id and text), a popup (text and items) or a separator (neither).
    struct MenuItem
    {
        int id = 0;
        QString text;
        std::vector<MenuItem> items;

        bool isSeparator() const { return id == 0 && items.empty(); }
        bool isPopup() const { return !items.empty(); }
    };

    struct Accelerator
    {
        QKeySequence keys;
        int id = 0;
    };

    std::vector<MenuItem> menuBar;
    std::vector<MenuItem> contextMenus;
    std::vector<Accelerator> accelerators;
    std::vector<int> toolBar; // 0 stands for a separator
    std::map<int, QString> toolBarIcons;
    std::map<int, QString> strings; // "prompt\ntooltip"
    std::vector<std::vector<int>> radioGroups;
};
