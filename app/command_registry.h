#pragma once

#include <functional>
#include <map>
#include <set>
#include <span>
#include <vector>

#include <QKeySequence>
#include <QString>

#include "cmd_target.h"

class QAction;
class QWidget;

// A key that belongs to one kind of window: it runs its command only while
// a window of that kind is active, so two kinds may give one key to
// different commands.
struct KeyBinding {
    int id = 0;
    QKeySequence key;
};

// One QAction per command number, in the main window, so that a key works
// whichever window is active. A triggered action goes along the road that
// the main frame gives at that moment (the active view, its document, the
// frame, the application); the first target with a handler runs it. A
// command that nobody on the road handles is disabled.
class CommandRegistry {
public:
    using Road = std::function<std::vector<CCmdTarget*>()>;

    // The actions are added to `window`, which owns them.
    CommandRegistry(QWidget& window, Road road);

    QAction* Add(int id, const QString& text, const QKeySequence& key = {}, bool checkable = false);
    QAction* Find(int id) const;

    // The keys of the active window's kind, in place of those of the window
    // active before; every command keeps the key it was added with.
    void SetWindowKeys(std::span<const KeyBinding> keys);

    // Runs the command along the road; false when nobody handled it.
    bool Execute(int id);
    // Asks the road for the state of every command and sets the actions.
    void UpdateAll();
    CmdUI StateOf(int id) const;

private:
    QWidget& window_;
    Road road_;
    std::map<int, QAction*> actions_;
    std::map<int, QList<QKeySequence>> ownKeys_;  // as added
    std::set<int> windowKeyed_;                   // the commands SetWindowKeys gave keys to
};
