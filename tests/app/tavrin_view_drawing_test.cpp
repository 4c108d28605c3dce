#include <gtest/gtest.h>

#include <QImage>

#include "archive.h"
#include "archive_file.h"
#include "cdf_model.h"
#include "network_view_fixture.h"
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

}  // namespace
