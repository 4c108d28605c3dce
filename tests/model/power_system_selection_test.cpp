#include <gtest/gtest.h>

#include "recording_view.h"
#include "test_model.h"

namespace {

TEST(Marking, OnceAndOnlyOneThatFollowItsBusWhenSelected) {
    TestModel model;
    struct Case {
        int type;
        bool selected;
        bool marked;
    } cases[] = {
        {ElementType::Load, true, true},          {ElementType::Generator, true, true},
        {ElementType::Capacitor, true, true},     {ElementType::VariableBank, true, true},
        {ElementType::VariableReactorBank, true, true},
        {ElementType::Reactor, true, false},      {ElementType::Bus, true, false},
        {ElementType::PowerLine, true, false},    {ElementType::Bus, false, true},
        {ElementType::PowerLine, false, true},
    };
    for (const auto& c : cases) {
        FakeElement& element = model.Add(c.type);
        if (c.selected) model->AddToSelection(&element);
        EXPECT_EQ(model->AddToMarked(&element), c.marked) << c.type << " " << c.selected;
        EXPECT_EQ(model->IsMarked(element.key), c.marked);
        EXPECT_FALSE(model->AddToMarked(&element));  // never twice
    }
}

TEST(Selection, WhatCountsAsASelection) {
    TestModel model;
    FakeElement& line = model.Add(ElementType::PowerLine);
    EXPECT_FALSE(model->HasSelection());
    model->AddToSelection(&line);
    EXPECT_TRUE(model->HasSelection());
    EXPECT_TRUE(model->IsSelected(line.key));

    // Outside edit mode only the current element counts, with its labels.
    model->SetEditMode(false);
    EXPECT_FALSE(model->HasSelection());
    model->SetCurrentElement(&line);
    IElement* node = nullptr;
    EXPECT_FALSE(model->GetNodeEditElement(node));
    line.labelSelected = true;
    EXPECT_TRUE(model->HasSelection());
    EXPECT_FALSE(model->GetNodeEditElement(node));
    line.freeEnd = true;
    EXPECT_TRUE(model->GetNodeEditElement(node));
    EXPECT_EQ(node, &line);
}

TEST(Selection, GlueConnectsTheSelectedInEditModeOnly) {
    TestModel model;
    RecordingView view;
    model->SetView(&view);
    FakeElement& stays = model.Add(ElementType::Load);
    FakeElement& glues = model.Add(ElementType::Load);
    glues.autoConnectAnswer = true;
    model->AddToSelection(&stays);

    EXPECT_FALSE(model->GlueSelection());
    EXPECT_TRUE(view.calls.empty());
    model->AddToSelection(&glues);
    model->SetEditMode(false);
    EXPECT_FALSE(model->GlueSelection());
    model->SetEditMode(true);
    EXPECT_TRUE(model->GlueSelection());
    EXPECT_EQ(stays.autoConnectCalls, 2);
    ASSERT_EQ(view.calls.size(), 2u);
    EXPECT_EQ(view.calls[0].op, RecordingView::Op::InvalidateAll);
    EXPECT_EQ(view.calls[1].op, RecordingView::Op::Update);
}

TEST(Selection, ClearingDeselectsAndDropsAnUnfinishedLine) {
    TestModel model;
    RecordingView view;
    model->SetView(&view);
    FakeElement& bus = model.Add(ElementType::Bus);
    FakeElement& unfinished = model.Add(ElementType::Transformer);
    int deletions = 0;
    unfinished.deletions = &deletions;
    unfinished.nodeCount = 1;
    const int unfinishedKey = unfinished.key;
    bus.selected = true;
    model->AddToSelection(&bus);
    model->AddToMarked(&unfinished);
    model->SetCurrentElement(&unfinished);
    model->SetToolState(2);

    model->ClearSelection();
    EXPECT_FALSE(bus.selected);
    EXPECT_FALSE(model->HasSelection());
    EXPECT_EQ(deletions, 1);
    EXPECT_EQ(model->List(PowerSystem::kLines).GetCount(), 0);
    EXPECT_FALSE(model->IsMarked(unfinishedKey));
    EXPECT_EQ(model->GetCurrentElement(), nullptr);
    EXPECT_EQ(model->GetToolState(), 1);
    EXPECT_EQ(view.calls.size(), 2u);  // redrawn: something was selected

    // A finished line, or a bus, stays; with nothing selected, no redraw.
    FakeElement& finished = model.Add(ElementType::PowerLine);
    finished.nodeCount = 2;
    for (IElement* current : {static_cast<IElement*>(&finished), static_cast<IElement*>(&bus)}) {
        model->SetCurrentElement(current);
        model->ClearSelection();
    }
    EXPECT_EQ(model->List(PowerSystem::kLines).GetCount(), 1);
    EXPECT_EQ(model->List(PowerSystem::kBuses).GetCount(), 1);
    EXPECT_EQ(view.calls.size(), 2u);
}

}  // namespace
