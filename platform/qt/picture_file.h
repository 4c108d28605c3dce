#pragma once

#include <span>

#include <QString>

#include "prompt_service.h"

// The formats a picture is exported in.
enum class PictureFormat { Metafile, Bitmap };

// The save dialog's type list for a picture: the metafile, then the bitmap.
std::span<const FileFilter> PictureFilters();

// The file a picture goes to, as the save dialog answered.
struct PictureFile {
    QString path;
    PictureFormat format = PictureFormat::Metafile;
};

// A typed ".emf" or ".bmp" (any case) names the format whatever type was
// selected; a name without an extension gets the selected type's ".EMF" or
// ".BMP"; any other extension is kept and the selected type decides.
PictureFile ChosenPictureFile(const SaveChoice& choice);
