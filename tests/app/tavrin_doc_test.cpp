#include <gtest/gtest.h>

#include <QImage>

#include "command_ids.h"
#include "label_names.h"
#include "shell_fixture.h"
#include "tavrin_doc.h"
#include "tavrin_view.h"

namespace {

using NetworkDocument = ShellTest;

TEST_F(NetworkDocument, OwnsAModelThatSharesWhatTheApplicationHolds) {
    ASSERT_TRUE(Start());
    Frame().Commands().Execute(Command::FileNew);
    Frame().Commands().Execute(Command::FileNew);
    auto* first = dynamic_cast<CTavrinDoc*>(Windows()[0]->View().GetDocument());
    auto* second = dynamic_cast<CTavrinDoc*>(Windows()[1]->View().GetDocument());
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    ASSERT_NE(first->GetModel(), nullptr);
    EXPECT_NE(first->GetModel(), second->GetModel());
    for (CTavrinDoc* document : {first, second}) {
        IModel& model = *document->GetModel();
        EXPECT_EQ(model.GetColorMap(kNominalVoltageColors), &app->NominalVoltageMap());
        EXPECT_EQ(model.GetColorMap(kLoadingColors), &app->LoadingMap());
        EXPECT_EQ(model.GetColorMap(kBusVoltageColors), &app->BusVoltageMap());
    }
    EXPECT_FALSE(app->HasClipboardElements());
}

TEST_F(NetworkDocument, TheViewPaintsTheModelsDiagram) {
    ASSERT_TRUE(Start());
    Frame().Commands().Execute(Command::FileNew);
    auto& view = dynamic_cast<CTavrinView&>(Windows()[0]->View());
    view.GetDocument()->GetModel()->SetBackgroundColor(Rgb(200, 10, 10));
    QImage picture = view.grab().toImage();
    ASSERT_FALSE(picture.isNull());
    EXPECT_EQ(picture.pixelColor(5, 5), QColor(200, 10, 10));
    EXPECT_EQ(picture.pixelColor(picture.width() - 1, picture.height() - 1), QColor(200, 10, 10));
}

TEST(LabelNames, EachKindOfElementTakesAsManyFontsAsItsListHasNames) {
    EXPECT_EQ(LabelFontCountsOfLists(), (LabelFontCounts{2, 1, 4, 5, 1, 1, 1, 1, 1}));
    EXPECT_EQ(LabelNames(LabelFamily::Transformer).back(), "Transformer ratio");
    EXPECT_EQ(LabelNames(LabelFamily::NetworkEquivalent).size(), 3u);
    EXPECT_EQ(LabelNames(LabelFamily::Defaults).front(), "All Fonts");
}

}  // namespace
