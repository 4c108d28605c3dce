#pragma once

#include <cstdint>
#include <vector>

#include <QImage>
#include <QWidget>

#include "graph_plot.h"
#include "prompt.h"
#include "qt_text_measurer.h"

class PromptService;
class QPainter;

// What the plot window hands its plot: prompts shown once the current event
// (a paint) is over, and text measured as the screen draws it. A base of the
// window, so that it exists before the plot that borrows it.
class GraphWndServices {
protected:
    class QueuedPrompt final : public IPrompt {
    public:
        QueuedPrompt(QObject& context, PromptService& prompts) : context_(context), prompts_(prompts) {}
        // Queues the message box and answers Ok at once.
        PromptAnswer MessageBox(std::string_view text, std::string_view caption, PromptIcon icon,
                                PromptButtons buttons) override;

    private:
        QObject& context_;
        PromptService& prompts_;
    };

    GraphWndServices(QObject& context, PromptService& prompts) : queuedPrompt_(context, prompts) {}

    QueuedPrompt queuedPrompt_;
    QtTextMeasurer screenMeasurer_;
};

// The plot window: paints its plot through an off-screen surface of its
// client size, which is rendered again only when the redraw flag is set;
// every paint copies it and draws the titles and legend over it. The range
// notice comes as the queued signal Notify.
class CGraphWnd : public QWidget, private GraphWndServices, public GraphPlot {
    Q_OBJECT

public:
    // The prompt service is borrowed for the window's life.
    explicit CGraphWnd(PromptService& prompts, QWidget* parent = nullptr);

    // The window as a 24-bit BMP file. False, with no file left behind, when
    // it cannot be written.
    bool SaveBitmap(const char* path);
    // The plot as an enhanced metafile of the window's size.
    bool SaveMetafile(const char* path);
    // The same picture as bytes, for the clipboard.
    std::vector<std::uint8_t> RecordMetafile();

signals:
    void Notify(unsigned message);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // A new surface, filled with the background, when the window's size
    // changed; a widget not yet shown gets its size only when painted.
    void FitSurface();
    // Loads the data when it is not yet loaded and renders the surface when
    // the redraw flag is set.
    void UpdateSurface();
    // The titles and, when there is a band for it, the legend.
    void DrawOverlay(QPainter& painter);

    QImage surface_;
};
