#pragma once

#include "wendlow_api.h"

class CReferenceManager;
class PromptService;
class QWidget;

// A graph window of the report library: the program names a data file and
// its columns, sets the titles and shows it. Texts are single-byte
// (Windows-1250). The object starts with one reference; when the last one
// is released the window closes and the object deletes itself. Nothing
// throws out of it. The order of the operations is part of the interface.
class IDlgGraph {
public:
    // Answers the remaining count; at zero the dialog is closed as by
    // Cancel and is gone.
    virtual int Release() = 0;
    virtual void AddRef() = 0;
    // Runs the window modally; answers its result.
    virtual int DoModal() = 0;
    // Shows the window modeless over the parent given to createGraph. The
    // data file is read before it returns: the caller may delete it then.
    virtual bool Create() = 0;
    // With `loadNow` the file's first line is read at once and each column
    // but the X column becomes a curve (at most 6); a negative X column is
    // the last one.
    virtual void SetDataFile(const char* path, bool loadNow, int xColumn) = 0;
    virtual void SetXAxisTitle(const char* title) = 0;
    virtual void SetYAxisTitle(const char* title) = 0;
    virtual void SetGraphTitle(const char* title) = 0;
    // 0 normal, 1 bars, 2 lines, 3 normal with points, 4 lines with points,
    // 5 bars over named categories.
    virtual void SetGraphType(int type) = 0;
    // The X column of the curves that AddYVariable adds from now on.
    virtual void SetXVariable(const char* name) = 0;
    // One curve of that column, in the next colour; 12 at most.
    virtual void AddYVariable(const char* name) = 0;
    // Caption and cascade offset take effect when the window is made.
    virtual void SetCaption(const char* caption) = 0;
    // Pixels right and down from where the window would open; 0 or less
    // is no move.
    virtual void SetCascadeOffset(int pixels) = 0;

protected:
    virtual ~IDlgGraph() = default;
};

// A new graph window registered in `manager` (which may be null) over
// `parent`, holding one reference; null when it cannot be made. The prompt
// service asks the window's questions and must outlive it.
extern "C" WENDLOW_API IDlgGraph* createGraph(CReferenceManager* manager, QWidget* parent,
                                            PromptService& prompts);
