#include <gtest/gtest.h>

#include <QImage>

#include "archive.h"
#include "archive_file.h"
#include "cdf_model.h"
#include "element_key.h"
#include "element_type.h"
#include "fake_element.h"
#include "network_view_fixture.h"
#include "power_system.h"
#include "qt_colors.h"

namespace {

using NetworkViewDrawing = NetworkViewTest;

bool HasOtherThan(const QImage& picture, const Rect& r, QColor background) {
    for (int y = std::max(0, r.top); y < std::min(picture.height(), r.bottom); ++y) {
        for (int x = std::max(0, r.left); x < std::min(picture.width(), r.right); ++x) {
            if (picture.pixelColor(x, y) != background) return true;
        }
    }
    return false;
}

bool Differs(const QImage& before, const QImage& after, const Rect& r) {
    for (int y = std::max(0, r.top); y < std::min(after.height(), r.bottom); ++y) {
        for (int x = std::max(0, r.left); x < std::min(after.width(), r.right); ++x) {
            if (before.pixel(x, y) != after.pixel(x, y)) return true;
        }
    }
    return false;
}

TEST_F(NetworkViewDrawing, TheIeee14BusNetworkIsDrawnAndShowsItsResultsAfterASolve) {
    // The case drawn as a one-line diagram, stored as a document and opened
    // as the user would.
    CdfModel drawn(TEST_DATA_DIR "/case14.cdf");
    drawn.model().SetBackgroundColor(Rgb(250, 250, 235));
    drawn.model().SetDiagramSize({3000, 400});
    Archive stored = Archive::ForStoring();
    drawn.model().SerializeModel(stored);
    const QString path = folder.filePath("ieee14.pf");
    SaveArchiveFile(stored, path.toStdString());

    ASSERT_TRUE(Start());
    Frame().resize(3100, 600);
    Frame().show();
    ASSERT_NE(app->OpenDocumentFile(path), nullptr);
    CChildFrame& window = *Windows().back();
    window.resize(3050, 500);
    auto& view = dynamic_cast<CTavrinView&>(window.View());
    IModel& model = *view.GetDocument()->GetModel();
    ASSERT_GE(view.Canvas()->width(), 2800);

    const QColor background = ToQColor(model.GetBackgroundColor());
    const QImage before = view.Canvas()->grab().toImage();
    EXPECT_EQ(before.pixelColor(0, 0), background);
    for (const auto& [number, bus] : drawn.Buses()) {
        IElement* shown = model.FindByKey(bus->GetKey());
        ASSERT_NE(shown, nullptr) << number;
        EXPECT_TRUE(HasOtherThan(before, shown->GetBoundingRect(), background)) << "bus " << number;
    }

    ASSERT_EQ(model.RunSolver(nullptr, nullptr, nullptr), 1);
    const QImage after = view.Canvas()->grab().toImage();
    EXPECT_EQ(after.pixelColor(0, 0), background);
    // Every bus's voltage label, under its bar, shows the solution. The
    // starting voltage shows before; the slack's magnitude and angle are the
    // same after, its generation label beside the bar changes.
    for (const auto& [number, bus] : drawn.Buses()) {
        const Rect bar = model.FindByKey(bus->GetKey())->GetBoundingRect();
        const Rect labels{bar.left - 70, bar.top, bar.right + 70, bar.bottom + 20};
        EXPECT_TRUE(HasOtherThan(after, Rect{bar.left - 20, bar.bottom, bar.right + 60, bar.bottom + 20},
                                 background))
            << "bus " << number;
        EXPECT_TRUE(Differs(before, after, labels)) << "bus " << number;
    }
}

// A repaint of part of the window draws only the elements meeting that
// part (grown by the margin every drawn area has), within the window.
TEST_F(NetworkViewDrawing, ARepaintVisitsOnlyWhatMeetsTheRepaintedPart) {
    CTavrinView& view = OpenNetwork(false);
    auto& model = dynamic_cast<PowerSystem&>(*view.GetDocument()->GetModel());
    auto* bus = new FakeElement(ElementType::Bus, Category::Bus, model.NewKey(Category::Bus, false), {100, 100, 110, 140});
    ASSERT_TRUE(model.AddElement(bus));
    QWidget* canvas = view.Canvas();
    QImage image(canvas->size(), QImage::Format_RGB32);

    struct Case {
        QRect repainted;
        Rect asked;
    };
    const Case cases[] = {
        {QRect(30, 40, 20, 10), Rect{20, 30, 60, 60}},
        {QRect(-50, -50, 80, 70), Rect{-10, -10, 40, 30}},
        {canvas->rect(), Rect{-10, -10, canvas->width() + 10, canvas->height() + 10}},
    };
    for (const Case& c : cases) {
        bus->areasAsked.clear();
        canvas->render(&image, QPoint(), QRegion(c.repainted));
        ASSERT_EQ(bus->areasAsked.size(), 1u);
        EXPECT_EQ(bus->areasAsked[0], c.asked);
    }
}

}  // namespace
