#pragma once

#include <QString>

class PromptService;

// What a document needs of the application: the prompts and the list of
// recent files.
class DocumentHost {
public:
    virtual PromptService& Prompts() = 0;
    virtual void AddToRecentFileList(const QString& path) = 0;

protected:
    ~DocumentHost() = default;
};
