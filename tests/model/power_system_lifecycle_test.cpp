#include <gtest/gtest.h>

#include "color_map.h"
#include "model_interface.h"
#include "test_model.h"

namespace {

// A model over test elements with one bus whose destruction is counted.
PowerSystem* ModelWithCountedBus(int& deletions) {
    PowerSystem* model = PowerSystem::Create(FakeElementFactory());
    auto bus = model->CreateElement(ElementType::Bus);
    static_cast<FakeElement&>(*bus).key = model->NewKey(Category::Bus, false);
    static_cast<FakeElement&>(*bus).deletions = &deletions;
    model->AddElement(bus.release());
    return model;
}

TEST(ModelLifecycle, TheLastReleaseDestroysTheModelAndItsElements) {
    int deletions = 0;
    PowerSystem* model = ModelWithCountedBus(deletions);
    model->AddRef();
    model->AddRef();
    model->Release();
    EXPECT_EQ(deletions, 0);
    model->Release();
    EXPECT_EQ(deletions, 1);

    // A model never given a reference goes with its first release.
    model = ModelWithCountedBus(deletions);
    model->Release();
    EXPECT_EQ(deletions, 2);
}

TEST(ModelLifecycle, SelectionAndMarkedListsOnlyReferToElements) {
    int deletions = 0;
    PowerSystem* model = ModelWithCountedBus(deletions);
    model->AddRef();
    IElement* bus = model->FindByKey(257);
    model->AddToSelection(bus);
    model->GetMarked().Add(bus->GetKey(), bus);
    model->ClearSelection();
    model->GetMarked().DeleteAll();
    EXPECT_EQ(deletions, 0);

    model->AddToSelection(bus);
    model->GetMarked().Add(bus->GetKey(), bus);
    model->Release();
    EXPECT_EQ(deletions, 1);  // once, by its list
}

TEST(ModelLifecycle, TheDocumentsReferenceKeepsTheModel) {
    ModelReference reference(CreatePowerSystem());
    ASSERT_TRUE(reference);
    reference->SetEditMode(false);
    EXPECT_FALSE(reference->GetEditMode());
}

TEST(ModelSettings, StartValues) {
    TestModel model;
    EXPECT_EQ(model->GetDiagramSize(), (Size{2048, 1024}));
    int horizontal = 0, vertical = 0, longMove = 0;
    model->GetDuplicationSteps(horizontal, vertical, longMove);
    EXPECT_EQ(horizontal, 1);
    EXPECT_EQ(vertical, 1);
    EXPECT_EQ(longMove, 10);
    EXPECT_TRUE(model->IsSnapToGrid());
    EXPECT_EQ(model->GetGridStep(), 10);
    EXPECT_TRUE(model->GetEditMode());
    EXPECT_FALSE(model->IsRemote());
    EXPECT_EQ(model->GetColorMapMode(), kNormalColors);
    EXPECT_EQ(model->GetBackgroundColor(), kWhite);
    EXPECT_EQ(model->GetLineColor(), kBlack);
    EXPECT_EQ(model->GetFontColor(), kBlack);
    EXPECT_EQ(model->GetLineWidth(), 0);
    EXPECT_EQ(model->GetContinuationResult(), "");
    EXPECT_EQ(model->GetToolState(), 1);
    EXPECT_EQ(model->GetMvaBase(), 100.0);

    LogFont label;
    label.height = -11;
    label.weight = 400;
    label.quality = 2;
    label.pitchAndFamily = 18;
    label.SetFaceName("Arial");
    EXPECT_EQ(model->GetDefaultFont(), label);
    EXPECT_EQ(model->GetFont().height, -14);
    EXPECT_EQ(model->GetFont().FaceName(), "Arial");

    for (int index : {-1, 10}) EXPECT_EQ(model->GetSystemTotal(index), 8888.88) << index;
}

TEST(ModelSettings, ColourMapsByMode) {
    TestModel model;
    ColorMap nominal, loading, voltage;
    EXPECT_EQ(model->GetColorMap(kNominalVoltageColors), nullptr);  // none lent yet
    model->SetColorMaps(&nominal, &loading, &voltage);
    struct Case {
        int mode;
        const ColorMap* map;
    } cases[] = {{-1, nullptr}, {0, nullptr}, {1, &nominal}, {2, &loading}, {3, &voltage}, {4, nullptr}};
    for (const auto& c : cases) EXPECT_EQ(model->GetColorMap(c.mode), c.map) << c.mode;
    model->SetColorMapMode(kBusVoltageColors);
    EXPECT_EQ(model->GetColorMap(-1), &voltage);
}

}  // namespace
