#pragma once

#include <functional>
#include <unordered_map>

// What an update handler sets for one command before its menu item, tool
// button or key is offered: enabled and checked.
struct CmdUI {
    int id = 0;
    bool enabled = true;
    bool checked = false;

    void Enable(bool on) { enabled = on; }
    void SetCheck(bool on) { checked = on; }
};

// Something that handles commands by number: a view, a document, a frame
// or the application. A command goes to the first target on its road that
// has a handler for it.
class CCmdTarget {
public:
    using Handler = std::function<void()>;
    using UpdateHandler = std::function<void(CmdUI&)>;

    CCmdTarget() = default;
    CCmdTarget(const CCmdTarget&) = delete;
    CCmdTarget& operator=(const CCmdTarget&) = delete;
    virtual ~CCmdTarget() = default;

    // Without an update handler the command is enabled whenever this target
    // is on the road.
    void OnCommand(int id, Handler handler, UpdateHandler update = {});

    bool HasHandler(int id) const { return handlers_.contains(id); }
    // Runs the handler; false when this target has none.
    bool Execute(int id);
    // Runs the update handler into `ui`; false when this target has no
    // handler for the command.
    bool Update(CmdUI& ui);

private:
    struct Entry {
        Handler handler;
        UpdateHandler update;
    };
    std::unordered_map<int, Entry> handlers_;
};
