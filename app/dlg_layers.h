#pragma once

#include <functional>
#include <string>

#include <QString>

#include "background_picture.h"
#include "dialog_base.h"

class QLineEdit;
class QPushButton;
class QTableWidget;

// The background pictures (layers) of a document: a checked list of their
// names and rectangles. Every change goes straight into the model's set and
// a change that shows on the diagram repaints the view at once, so Cancel
// undoes nothing; the caller marks the document modified when Modified()
// says so, however the dialog ended.
class CDlgLayers : public DialogBase {
public:
    static constexpr int kListId = 1054;
    static constexpr int kNameId = 1070;
    static constexpr int kLeftId = 1130;
    static constexpr int kTopId = 1131;
    static constexpr int kRightId = 1132;
    static constexpr int kBottomId = 1133;
    static constexpr int kRemoveId = 1153;
    static constexpr int kUpdateId = 1154;

    // The pictures are borrowed for the dialog's life; `repaint` redraws
    // the diagram at once.
    CDlgLayers(PromptService& prompts, BackgroundPictures& pictures, std::function<void()> repaint,
               QWidget* parent = nullptr);

    bool Modified() const { return modified_; }

    // Appends a shown layer of that name holding the file's picture, in the
    // picture's bounds (or kDefaultLayerRect when asked for it, or when the
    // picture has no bounds). False, adding nothing, when the file cannot
    // be read or is no enhanced metafile.
    bool LoadLayerFile(const QString& path, const QString& name, bool useDefaultRect);

    // "Add New...": a file chosen by the user becomes a new layer.
    void AddLayer();
    // The selected row's name and rectangle as the fields show them.
    void OnUpdate();
    // Removes the selected row's layer.
    void OnRemove();

protected:
    void OnInitDialog() override;
    void DoDataExchange(DataExchange& exchange) override;

private:
    // A row became current or its check changed: the fields show its layer,
    // and a check that differs from the layer's shown flag sets it.
    void OnRowChanged(int row);
    // Writes the layer's name and rectangle into its row.
    void ShowRow(int row);
    // Appends the row of that layer, which is the list's next row.
    void AppendRow(int layer);
    // The selected row, -1 for none.
    int SelectedRow() const;
    void SelectRow(int row);
    BackgroundPictures& pictures_;
    std::function<void()> repaint_;
    bool modified_ = false;
    std::string name_;
    Rect rect_;

    QTableWidget* list_;
    QLineEdit* nameField_;
    QLineEdit* leftField_;
    QLineEdit* topField_;
    QLineEdit* rightField_;
    QLineEdit* bottomField_;
};
