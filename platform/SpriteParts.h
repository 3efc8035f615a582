#pragma once
// Which parts of a blended item need blending. Blending a premultiplied pixel
// of full alpha gives that pixel itself, whatever lies under it, so a block of
// such pixels can be copied instead, at a small part of a blend's cost; a
// skin's panel is such a block with a soft rim.
#include <cstdint>
#include <vector>

#include "framework/Geometry.h"

struct SpriteParts {
    Rect copy;                // fully opaque: copied (empty when not worth it)
    std::vector<Rect> blend;  // the rest of the item: blended
};

// The largest rectangle of the width x height premultiplied BGRA pixels
// (rows top-down) whose every alpha is full; empty if there is none.
Rect LargestOpaqueRect(const uint32_t* pixels, int width, int height);

// The item cut into its largest opaque rectangle and the parts around it,
// when that rectangle holds at least `minCopyPixels` pixels (each further part
// is one more call to the platform); otherwise the whole item is blended.
SpriteParts SplitSprite(const uint32_t* pixels, int width, int height, long long minCopyPixels);

// What blending a premultiplied pixel onto a surface leaves of each byte d
// under the pixel's alpha a, as under[a][d]; the pixel's own byte is added to
// it.
using UnderTable = uint8_t[256][256];

// Blends the premultiplied pixels of a sprite `spriteWidth` pixels wide, with
// its top-left corner at `origin` of a surface `targetWidth` pixels wide,
// onto `area` of the surface (which the caller keeps within both).
void BlendOver(uint32_t* target, int targetWidth, const uint32_t* sprite, int spriteWidth, Point origin,
               const Rect& area, const UnderTable& under);
