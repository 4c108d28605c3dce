#pragma once

// The message window as the model and the solver see it. The pointer is
// always borrowed: nobody who is handed a sink releases it.
class IMessageSink {
public:
    enum Level { Success = 0, Information = 1, Warning = 2, Failure = 3 };

    // Appends one row (level icon, local time, text) unless switched off.
    // The text is copied; nothing is answered and nothing fails.
    virtual void AddMessage(int level, const char* text) = 0;
    virtual void SetEnabled(int enabled) = 0;
    virtual int IsEnabled() = 0;

protected:
    ~IMessageSink() = default;
};
