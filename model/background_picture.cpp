#include "background_picture.h"

#include "emf_check.h"

std::optional<BackgroundPicture> LayerOfMetafile(std::vector<std::uint8_t> metafile, std::string name,
                                                 bool useDefaultRect) {
    std::optional<Rect> bounds = CheckEnhancedMetafile(metafile);
    if (!bounds) return std::nullopt;
    BackgroundPicture layer;
    layer.shown = true;
    layer.rect = useDefaultRect || bounds->IsEmpty() ? kDefaultLayerRect : *bounds;
    layer.name = std::move(name);
    layer.metafile = std::move(metafile);
    return layer;
}
