#pragma once

#include <QWidget>

class CGridListCtrl;
class IRecordCursor;
class QLineEdit;

// One page of the data sheet: the buses or branches of one kind, as the
// model's record cursor hands them out, with their solved values.
class CDataView : public QWidget {
public:
    enum PageType { PvBuses = 0, PqBuses = 1, PowerLines = 2, Transformers = 3 };
    static constexpr int kPageCount = 4;
    static constexpr int kListId = 1054;
    static constexpr int kShowInPuId = 1055;
    static constexpr int kSbaseId = 1130;
    // The list's width in pixels; its columns share what its frame leaves.
    static constexpr int kListWidth = 840;

    // The cursor is borrowed and may be null: the page then stays empty.
    CDataView(PageType type, IRecordCursor* cursor, QWidget* parent = nullptr);

    static QString TabText(PageType type);

    // Lays out the columns and fills the list, the first time only.
    void SetUp();
    CGridListCtrl& List() const { return *list_; }

protected:
    // The list's viewport resized (a vertical scroll bar came or went).
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void AddColumns();
    void FillList();
    // The named columns share what the others leave of the viewport, so a
    // vertical scroll bar does not push the last column out of view.
    void FitNamedColumns();

    PageType type_;
    IRecordCursor* cursor_;
    bool setUp_ = false;
    CGridListCtrl* list_;
    QLineEdit* sbaseField_;
};
