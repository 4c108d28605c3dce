// What a user waits for in a network window of a large diagram: opening
// its document and drawing it, redrawing after a scroll of one screen, and
// one mouse move while dragging a bus with its lines. Drawn as the view
// draws, through the Qt drawing context on an off-screen image of one
// screen, with the program's own text measurer.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <map>
#include <memory>
#include <vector>

#include <QImage>
#include <QPainter>

#include "archive.h"
#include "bus.h"
#include "document_model.h"
#include "element_factory.h"
#include "element_key.h"
#include "power_system.h"
#include "qt_drawing_context.h"
#include "qt_text_measurer.h"
#include "recording_view.h"

namespace {

constexpr int kScreenWidth = 1280;  // pixels, one diagram unit each
constexpr int kScreenHeight = 1024;
constexpr int kBusesPerRow = 40;
constexpr int kBusSpacing = 100;  // diagram units
constexpr int kRowSpacing = 150;

Point BusPoint(int i) { return {100 + kBusSpacing * (i % kBusesPerRow), 100 + kRowSpacing * (i / kBusesPerRow)}; }

// Buses in rows of forty, each with its results, a load and a line to the
// bus before it in its row; every fifth bus has a generator as well.
std::vector<std::uint8_t> BuildDiagramDocument(int buses) {
    DocumentModel model;
    for (int i = 0; i < buses; ++i) {
        const Point at = BusPoint(i);
        auto bus = std::make_unique<Bus>(&*model, model->NewKey(Category::Bus, false), at, true);
        double values[Bus::kValueCount] = {110.0, 1.0 - 0.00001 * i, -0.01 * i, 1.0, 1.0, 0.95, 1.1, 0, 0, 0};
        bus->UpdateResultLabel(values);
        model->AddElement(bus.release());
        Place(*model, ElementType::Load, {at.x, at.y + 10});
        if (i % 5 == 0) Place(*model, ElementType::Generator, {at.x, at.y + 30});
        if (i % kBusesPerRow != 0) Join(*model, ElementType::PowerLine, {at.x - kBusSpacing, at.y + 20}, {at.x, at.y + 20});
    }
    return model.Save();
}

// Built once for each size: placing each element looks for its bus among
// all those placed, which takes far longer than what is measured.
const std::vector<std::uint8_t>& DiagramDocument(int buses) {
    static std::map<int, std::vector<std::uint8_t>> built;
    auto [at, fresh] = built.try_emplace(buses);
    if (fresh) at->second = BuildDiagramDocument(buses);
    return at->second;
}

// A document opened as the program opens it: the element classes of the
// program and text measured with the program's measurer.
class OpenedDiagram {
public:
    explicit OpenedDiagram(const std::vector<std::uint8_t>& bytes) : model_(PowerSystem::Create(StandardElementFactory())) {
        model_->AddRef();
        model_->SetTextMeasurer(&measurer_);
        model_->SetView(&view_);
        Archive in = Archive::ForLoading(bytes);
        model_->Serialize(in);
    }
    ~OpenedDiagram() { model_->Release(); }
    OpenedDiagram(const OpenedDiagram&) = delete;
    OpenedDiagram& operator=(const OpenedDiagram&) = delete;

    PowerSystem& model() { return *model_; }
    RecordingView& view() { return view_; }

    // Paints the diagram's area as the view paints a dirty rectangle seen
    // from the scroll position; null: every element, as the first paint of
    // a window that shows the whole diagram.
    void Paint(QImage& screen, Point scroll, const Rect* area) {
        QPainter painter(&screen);
        painter.fillRect(screen.rect(), Qt::white);
        painter.translate(-scroll.x, -scroll.y);
        QtDrawingContext dc(painter);
        dc.SetBackgroundMode(BackgroundMode::Transparent);
        model_->Draw(dc, area);
    }

private:
    QtTextMeasurer measurer_;
    RecordingView view_;
    PowerSystem* model_;
};

QImage Screen() { return QImage(kScreenWidth, kScreenHeight, QImage::Format_RGB32); }

void BM_OpenAndDrawDiagram(benchmark::State& state) {
    const std::vector<std::uint8_t>& bytes = DiagramDocument(static_cast<int>(state.range(0)));
    QImage screen = Screen();
    for (auto _ : state) {
        OpenedDiagram diagram(bytes);
        diagram.Paint(screen, {0, 0}, nullptr);
        benchmark::DoNotOptimize(screen.constBits());
    }
    state.counters["file_bytes"] = static_cast<double>(bytes.size());
}
void BM_OpenAndDrawFirstScreen(benchmark::State& state) {
    const std::vector<std::uint8_t>& bytes = DiagramDocument(static_cast<int>(state.range(0)));
    QImage screen = Screen();
    for (auto _ : state) {
        OpenedDiagram diagram(bytes);
        Rect visible{0, 0, kScreenWidth, kScreenHeight};
        visible.Inflate(10, 10);
        diagram.Paint(screen, {0, 0}, &visible);
        benchmark::DoNotOptimize(screen.constBits());
    }
}
BENCHMARK(BM_OpenAndDrawFirstScreen)->Arg(2000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenAndDrawDiagram)->Arg(2000)->Arg(10000)->Unit(benchmark::kMillisecond);

void BM_RedrawAfterAScroll(benchmark::State& state) {
    OpenedDiagram diagram(DiagramDocument(static_cast<int>(state.range(0))));
    QImage screen = Screen();
    int screens = 0;
    for (auto _ : state) {
        // One screen further down each time, back to the top at the end.
        const Point scroll{0, (screens++ % 20) * kScreenHeight};
        Rect visible{scroll.x, scroll.y, scroll.x + kScreenWidth, scroll.y + kScreenHeight};
        visible.Inflate(10, 10);
        diagram.Paint(screen, scroll, &visible);
        benchmark::DoNotOptimize(screen.constBits());
    }
}
BENCHMARK(BM_RedrawAfterAScroll)->Arg(2000)->Arg(10000)->Unit(benchmark::kMillisecond);

// A bus in the middle of a row, picked with the selection tool and dragged
// one unit a move, left and right; each move is followed by the repaint of
// what the model invalidated.
void BM_DragABusWithItsLines(benchmark::State& state) {
    OpenedDiagram diagram(DiagramDocument(static_cast<int>(state.range(0))));
    PowerSystem& model = diagram.model();
    model.SetEditMode(true);
    QImage screen = Screen();
    const Point bar = BusPoint(kBusesPerRow / 2);
    const Point grab{bar.x, bar.y + 20};
    model.HandleEditEvent(EditEvent::ButtonDown, EditTool::Selection, MouseFlag::LeftButton, &grab, &diagram.view());
    int step = 0;
    for (auto _ : state) {
        const Point to{grab.x + (step++ % 2 == 0 ? 1 : 0), grab.y};
        diagram.view().calls.clear();
        model.HandleEditEvent(EditEvent::MouseMove, EditTool::Selection, MouseFlag::LeftButton, &to, &diagram.view());
        Rect dirty;
        for (const RecordingView::Call& call : diagram.view().calls) {
            if (call.op == RecordingView::Op::InvalidateRect) dirty = UnionRect(dirty, call.rect);
            if (call.op == RecordingView::Op::InvalidateAll) dirty = {0, 0, kScreenWidth, kScreenHeight};
        }
        diagram.Paint(screen, {0, 0}, &dirty);
        benchmark::DoNotOptimize(screen.constBits());
    }
}
BENCHMARK(BM_DragABusWithItsLines)->Arg(2000)->Arg(10000)->Unit(benchmark::kMillisecond);

}  // namespace
