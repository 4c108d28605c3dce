#pragma once

#include "wendlow_api.h"

class CReferenceManager;
class PromptService;
class QWidget;

// The graph designer of the report library: lists the column names of a
// data file, lets the user lay out one curve per row and opens graph windows
// for them on OK, entered in the manager given to createGraphDesigner. The
// designer itself is entered nowhere and holds no count. Nothing throws out
// of it. The order of the operations is part of the interface.
class IDlgGraphDesigner {
public:
    // Deletes the designer; the graph windows it opened stay.
    virtual void Release() = 0;
    // Does nothing: the designer has one owner.
    virtual void AddRef() = 0;
    // The data file, single-byte as the file system names it.
    virtual void SetDataFile(const char* path) = 0;
    // Runs the designer modally; QDialog::Accepted after OK, else
    // QDialog::Rejected (also when it could not be set up).
    virtual int DoModal() = 0;

protected:
    virtual ~IDlgGraphDesigner() = default;
};

// A new designer over `parent` whose graph windows go into `manager` (which
// may be null); null when it cannot be made. The prompt service runs it and
// asks its questions, and must outlive it and its graph windows.
extern "C" WENDLOW_API IDlgGraphDesigner* createGraphDesigner(CReferenceManager* manager, QWidget* parent,
                                                              PromptService& prompts);
