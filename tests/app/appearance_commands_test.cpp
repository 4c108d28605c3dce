#include <gtest/gtest.h>

#include <fstream>

#include <QImage>
#include <QCheckBox>
#include <QLineEdit>

#include "background_color_dlg.h"
#include "color_list_box.h"
#include "colour_picker.h"
#include "control_id.h"
#include "dlg_layers.h"
#include "edit_ex.h"
#include "element_interface.h"
#include "element_type.h"
#include "emf_drawing_context.h"
#include "fixed_metric_measurer.h"
#include "line_fill_font_dlg.h"
#include "network_view_fixture.h"
#include "power_system.h"
#include "qt_colors.h"

namespace {

// The program's own appearance dialogs, reached through the network
// window's commands and the model's requests, played by scripts.
class AppearanceCommands : public NetworkViewTest {
protected:
    template <typename Dialog>
    void Script(std::function<void(Dialog&)> play) {
        prompts.dialogScripts.push_back([play](QDialog& dialog) { play(dynamic_cast<Dialog&>(dialog)); });
    }
    static IModel& ModelOf(CTavrinView& view) { return *view.GetDocument()->GetModel(); }
};

TEST_F(AppearanceCommands, ALayerDrawnAsAPictureShowsInItsRectangleAndIsStoredAsItWas) {
    CTavrinView& view = OpenNetwork(false);
    FixedMetricMeasurer measurer;
    EmfDrawingContext drawing(measurer, {200, 100});
    drawing.SelectPen({PenStyle::Solid, {0, 0}, kRed});
    drawing.SelectBrush({BrushStyle::Solid, kRed, 0});
    drawing.Rectangle({0, 0, 200, 100});
    const std::vector<std::uint8_t> picture = drawing.Finish();
    const QString path = folder.filePath("plan.emf");
    std::ofstream(path.toStdString(), std::ios::binary)
        .write(reinterpret_cast<const char*>(picture.data()), static_cast<std::streamsize>(picture.size()));

    Script<CDlgLayers>([&](CDlgLayers& layers) {
        prompts.fileNames.push_back(path);
        layers.AddLayer();
        const std::pair<int, const char*> edges[] = {{CDlgLayers::kLeftId, "300"},
                                                     {CDlgLayers::kTopId, "200"},
                                                     {CDlgLayers::kRightId, "500"},
                                                     {CDlgLayers::kBottomId, "300"}};
        for (const auto& [id, text] : edges) FindControl<QLineEdit>(layers, id)->setText(text);
        layers.OnUpdate();
        layers.reject();  // what was done stays done
    });
    Frame().Commands().Execute(Command::Layers);
    ASSERT_EQ(ModelOf(view).GetBackgroundPictures().size(), 1u);
    EXPECT_EQ(ModelOf(view).GetBackgroundPictures()[0].rect, (Rect{300, 200, 500, 300}));
    EXPECT_TRUE(view.GetDocument()->IsModified());

    const QImage shown = view.Canvas()->grab().toImage();
    const QColor background = ToQColor(ModelOf(view).GetBackgroundColor());
    EXPECT_EQ(shown.pixelColor(400, 250), QColor(Qt::red));
    EXPECT_EQ(shown.pixelColor(310, 210), QColor(Qt::red));
    for (QPoint outside : {QPoint(100, 50), QPoint(290, 250), QPoint(510, 250), QPoint(400, 310)}) {
        EXPECT_EQ(shown.pixelColor(outside), background) << outside.x() << "," << outside.y();
    }

    const QString stored = folder.filePath("with layer.pf");
    ASSERT_TRUE(view.GetDocument()->DoSave(stored));
    Windows().back()->CloseWithoutAsking();
    SettleDeletions();
    ASSERT_NE(app->OpenDocumentFile(stored), nullptr);
    auto& reopened = dynamic_cast<CTavrinView&>(Windows().back()->View());
    ASSERT_EQ(ModelOf(reopened).GetBackgroundPictures().size(), 1u);
    EXPECT_EQ(ModelOf(reopened).GetBackgroundPictures()[0].metafile, picture);
    EXPECT_EQ(ModelOf(reopened).GetBackgroundPictures()[0].name, "New Layer");
}

TEST_F(AppearanceCommands, ALinesLabelsLineColourAndWidthAreEditedThroughItsRequest) {
    ASSERT_TRUE(Start());
    ASSERT_NE(app->OpenDocumentFile(EXAMPLES_DIR "/ieee14.pf"), nullptr);
    auto& view = dynamic_cast<CTavrinView&>(Windows().back()->View());
    auto& model = static_cast<PowerSystem&>(ModelOf(view));
    IElement* line = nullptr;
    for (const auto& [key, element] : model.List(PowerSystem::kLines).Entries()) {
        if (element->GetType(true) == ElementType::PowerLine) line = element;
    }
    ASSERT_NE(line, nullptr);

    FontChoice chosen;
    chosen.font.SetFaceName("Courier New");
    chosen.font.height = -16;
    chosen.color = Rgb(0, 128, 0);
    prompts.fonts = {chosen};
    Script<LineFillFontDlg>([](LineFillFontDlg& dialog) {
        EXPECT_EQ(dialog.windowTitle(), "Line, Fill  And Font Properties");
        auto& labels = *FindControl<ColorListBox>(dialog, LineFillFontDlg::kLabelListId);
        EXPECT_EQ(labels.count(), 4);
        labels.setCurrentRow(1);
        dialog.OnFont();
        FindControl<CColourPicker>(dialog, LineFillFontDlg::kLineColorId)->setColour(kBlue);
        FindControl<QLineEdit>(dialog, LineFillFontDlg::kLineWidthId)->setText("3");
        dialog.accept();
    });
    ASSERT_TRUE(line->EditFillAndFont());
    EXPECT_EQ(line->GetColor(), kBlue);
    EXPECT_EQ(line->GetPenWidth(), 3);

    // Opened again, the dialog shows the label as chosen.
    Script<LineFillFontDlg>([](LineFillFontDlg& dialog) {
        auto& labels = *FindControl<ColorListBox>(dialog, LineFillFontDlg::kLabelListId);
        EXPECT_EQ(labels.ItemRecord(1).textColor, Rgb(0, 128, 0));
        labels.setCurrentRow(1);
        EXPECT_EQ(FindControl<CEditEx>(dialog, LineFillFontDlg::kPreviewId)->text(), "Courier New");
        EXPECT_EQ(FindControl<QLineEdit>(dialog, LineFillFontDlg::kLineWidthId)->text(), "3");
    });
    EXPECT_FALSE(line->EditFillAndFont());
}

TEST_F(AppearanceCommands, TheBackgroundColourGoesToTheDiagramAndAsAskedToTheSettings) {
    CTavrinView& view = OpenNetwork(false);
    Script<BackgroundColorDlg>([](BackgroundColorDlg& dialog) {
        FindControl<CColourPicker>(dialog, BackgroundColorDlg::kColorId)->setColour(Rgb(0, 0, 64));
        FindControl<QCheckBox>(dialog, BackgroundColorDlg::kSetAsDefaultId)->setChecked(true);
        dialog.accept();
    });
    Frame().Commands().Execute(Command::BackgroundColor);
    EXPECT_EQ(ModelOf(view).GetBackgroundColor(), Rgb(0, 0, 64));
    EXPECT_EQ(view.Canvas()->grab().toImage().pixelColor(5, 5), QColor(0, 0, 64));
    EXPECT_EQ(app->GetProfile().GetProfileColors().background, Rgb(0, 0, 64));
}

}  // namespace
