#pragma once

#include <memory>

#include "recorded_picture.h"
#include "view_base.h"

class CFinansDoc;

// The window of a results document: the current page of the report on a
// grey desk, one report unit to a pixel.
class CFinansView : public CView {
public:
    static constexpr int kMargin = 10;

    explicit CFinansView(CFinansDoc& document);

    CFinansDoc* GetDocument() const;
    int CurrentPage() const { return currentPage_; }

    // Takes the report's title and page size and renders the first page.
    void OnInitialUpdate() override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void ShowPage();

    Size pageSize_{1160, 845};
    int currentPage_ = 1;
    std::unique_ptr<RecordedPicture> page_;
};
