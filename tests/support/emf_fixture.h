#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <unistd.h>

#include <uemf.h>

// The bytes of a small enhanced metafile written with libuemf: a frame of
// width x height logical units wholly covered by one rectangle filled with
// the colour (red, green, blue) and outlined by the default black pen.
inline std::vector<std::uint8_t> FilledRectangleMetafile(int width, int height, std::uint8_t red,
                                                         std::uint8_t green, std::uint8_t blue) {
    char path[] = "/tmp/emf_fixture_XXXXXX";
    int fd = ::mkstemp(path);
    if (fd < 0) return {};
    ::close(fd);

    EMFTRACK* et = nullptr;
    EMFHANDLES* eht = nullptr;
    emf_start(path, 4096, 4096, &et);
    emf_htable_create(16, 16, &eht);

    U_RECTL bounds = rectl_set(point32_set(0, 0), point32_set(width - 1, height - 1));
    // The frame is in hundredths of a millimetre, at 4 pixels per millimetre.
    U_RECTL frame = rectl_set(point32_set(0, 0), point32_set(width * 25, height * 25));
    U_SIZEL device = sizel_set(1000, 1000);
    U_SIZEL millimetres = sizel_set(250, 250);
    emf_append(reinterpret_cast<U_ENHMETARECORD*>(
                   U_EMRHEADER_set(bounds, frame, nullptr, 0, nullptr, device, millimetres, 0)),
               et, 1);
    uint32_t brush = 0;
    emf_append(reinterpret_cast<U_ENHMETARECORD*>(createbrushindirect_set(
                   &brush, eht, logbrush_set(U_BS_SOLID, colorref3_set(red, green, blue), 0))),
               et, 1);
    emf_append(reinterpret_cast<U_ENHMETARECORD*>(selectobject_set(brush, eht)), et, 1);
    emf_append(reinterpret_cast<U_ENHMETARECORD*>(U_EMRRECTANGLE_set(bounds)), et, 1);
    emf_append(reinterpret_cast<U_ENHMETARECORD*>(U_EMREOF_set(0, nullptr, et)), et, 1);
    emf_finish(et, eht);
    emf_free(&et);
    emf_htable_free(&eht);

    std::ifstream in(path, std::ios::binary);
    std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::remove(path);
    return bytes;
}
