#pragma once

#include <cstdint>
#include <filesystem>
#include <vector>

#include <QImage>

#include "geometry.h"
#include "picture_file.h"
#include "recorded_picture.h"

class IModel;
class IPictureRasteriser;
class ITextMeasurer;

// The one-line diagram drawn whole, over the background colour, for
// printing and for pictures. Each covers the area from the origin to the
// diagram's bounding rectangle (started from 0, 0, 100, 100, so that an
// empty diagram still has a size) grown by a margin on the right and
// below: 10 for printing and bitmaps, 5 for metafiles.
inline constexpr int kPrintMargin = 10;
inline constexpr int kMetafileMargin = 5;

// From the origin to the bounding rectangle's right and bottom plus the
// margin (kept within the range of coordinates).
Rect DiagramExtent(IModel& model, int margin);

// The diagram as drawing calls over its print extent, played page by page.
RecordedPicture RecordDiagram(IModel& model, ITextMeasurer& measurer);

// An enhanced metafile of the diagram; the header's bounds, which include
// their right and bottom edge, are the metafile extent, all of it filled
// with the background. Background pictures are carried as bitmaps.
struct DiagramMetafile {
    std::vector<std::uint8_t> bytes;
    Size size;  // logical units (pixels) from the origin
};
DiagramMetafile RecordDiagramMetafile(IModel& model, ITextMeasurer& measurer, IPictureRasteriser& rasteriser);

// The diagram as the screen would show it, one pixel per unit; a null
// image when one of its size cannot be made or stored as a bitmap file.
QImage DrawDiagramBitmap(IModel& model);

// Writes the diagram as the picture file asks, replacing the file whole;
// throws FileWriteError, leaving nothing behind, when it cannot.
void WriteDiagramPicture(IModel& model, const PictureFile& file, ITextMeasurer& measurer,
                         IPictureRasteriser& rasteriser);
