// Rendering an image graph: demand-driven, tiled and parallel.
//
// A render first propagates the requested rectangle down the graph (each node's regionOf), computes
// the blocks it reaches (whole-image nodes such as large blurs) once, then renders the requested
// rectangles in parallel. Inside one rectangle, the point-wise part of the graph runs span by span in
// topological order, each node once, so a chain makes one pass over memory and a node feeding many
// consumers is never evaluated twice; region nodes render tiles of their own, cached when expensive.
#pragma once

#include "ImageNode.h"
#include "PixelFormat.h"

#include <functional>
#include <span>

namespace pimavo::eval {

// Render tiles are aligned to a grid of this size, so cached tiles line up from one render to the
// next. Changing it (tests render with small tiles to exercise every region computation) empties the
// tile cache.
inline constexpr int kDefaultTileSize = 256;
int tileSize();
void setTileSize(int size);

// Renders `root` over `rect`, writing every pixel of it through `store`; pixels outside the image's
// extent are transparent.
void render(const NodeRef& root, const IntRect& rect, const PixelStore& store);

// Renders several rectangles (in parallel), each through its own store.
void renderRects(const NodeRef& root, std::span<const IntRect> rects,
                 const std::function<PixelStore(std::size_t index)>& storeFor);

// Renders into a float tile of rect ∩ the root's pixel extent.
TileRef renderTile(const NodeRef& root, const IntRect& rect);

// The number of times nodes were evaluated since the counter was last reset (a span of a point-wise
// node, a region tile or a block each count once); for tests that guard against repeated work.
uint64_t evaluationCount();
void resetEvaluationCount();

} // namespace pimavo::eval
