// The plot as an enhanced metafile.

#include "emf_drawing_context.h"
#include "graph_plot.h"
#include "replacement_file.h"

std::vector<std::uint8_t> GraphPlot::RenderMetafile() {
    EmfDrawingContext emf(measurer_, client_);
    PrepareDC(emf);
    Layout(emf);
    emf.Rectangle({0, 0, client_.cx, client_.cy});
    redraw_ = true;
    Render(emf);
    DrawTitles(emf);
    if (legendHeight_ > 0) DrawLegend(emf);
    return emf.Finish();
}

bool GraphPlot::SaveMetafile(const char* path) {
    if (path == nullptr || *path == '\0') return false;
    try {
        WriteFileReplacing(path, RenderMetafile());
        return true;
    } catch (const FileWriteError&) {
        return false;
    }
}
